#include "tree_scan.h"

#include <algorithm>
#include <map>
#include <set>
#include <system_error>

#include "common/constants.h"
#include "common/dbcs.h"
#include "engine/entry_rules.h"
#include "engine/package_format.h"
#include "host_text.h"
#include "name_check_text.h"

namespace qz::pack {
namespace {

namespace fs = std::filesystem;

// Characters that Windows file names cannot hold and the installer's rules do
// not cover; a backslash in a host name would become a separator.
bool HasForbiddenCharacter(const fs::path& level) {
    for (auto c : level.native()) {
        switch (c) {
            case '\\':
            case '<':
            case '>':
            case '"':
            case '|':
            case '?':
            case '*':
                return true;
            default:
                break;
        }
    }
    return false;
}

// The GBK package name for a path relative to the folder.
bool PackageName(const fs::path& relative, std::string* name, std::string* error) {
    name->clear();
    for (const fs::path& level : relative) {
        std::string gbk;
        if (!HostNameToGbk(level, &gbk)) {
            *error = PathForDisplay(relative) + ": the name cannot be represented in GBK";
            return false;
        }
        if (HasForbiddenCharacter(level)) {
            *error =
                PathForDisplay(relative) +
                ": the name holds a character Windows file names cannot hold (\\ < > \" | ? *)";
            return false;
        }
        if (!name->empty()) {
            *name += '\\';
        }
        *name += gbk;
    }
    if (name->size() >= kNameSize) {
        *error = PathForDisplay(relative) + ": the name is " + std::to_string(name->size()) +
                 " bytes in GBK; at most 259 fit";
        return false;
    }
    const NameCheck check = CheckEntryName(name->c_str(), name->size() + 1);
    if (check != NameCheck::kOk) {
        *error =
            PathForDisplay(relative) + ": the installer refuses this name: " + NameCheckText(check);
        return false;
    }
    return true;
}

// Adds the file or refuses what cannot be carried.
bool AddEntry(const fs::path& folder, const fs::directory_entry& entry,
              std::vector<PackItem>* items, std::string* error) {
    std::error_code ec;
    const fs::path relative = entry.path().lexically_relative(folder);
    const fs::file_status own = entry.symlink_status(ec);
    if (ec) {
        // On Windows a device name such as aux.txt is listed but cannot be
        // looked at: say what is wrong with the name when something is.
        std::string name;
        if (PackageName(relative, &name, error)) {
            *error = PathForDisplay(entry.path()) + ": " + ec.message();
        }
        return false;
    }
    const fs::file_status target = fs::is_symlink(own) ? entry.status(ec) : own;
    if (ec) {
        *error = PathForDisplay(entry.path()) + ": broken link";
        return false;
    }
    if (fs::is_directory(target)) {
        if (fs::is_symlink(own)) {
            *error = PathForDisplay(entry.path()) + ": a link to a directory is not followed";
            return false;
        }
        return true;
    }
    if (!fs::is_regular_file(target)) {
        *error = PathForDisplay(entry.path()) + ": not a regular file";
        return false;
    }
    PackItem item;
    if (!PackageName(relative, &item.name, error)) {
        return false;
    }
    const std::uintmax_t size = fs::file_size(entry.path(), ec);
    if (ec) {
        *error = PathForDisplay(entry.path()) + ": " + ec.message();
        return false;
    }
    if (size > static_cast<std::uintmax_t>(kMaxPackageTotal)) {
        *error = PathForDisplay(entry.path()) + ": larger than 2,147,483,647 bytes";
        return false;
    }
    item.source = entry.path();
    item.size = static_cast<std::int64_t>(size);
    items->push_back(std::move(item));
    return true;
}

// ASCII letters in lower case; double-byte characters (whose second byte may
// look like a letter) stay as they are.
std::string FoldCase(const std::string& gbk) {
    std::string folded = gbk;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto c = static_cast<unsigned char>(folded[i]);
        if (IsGbkLeadByte(c)) {
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            folded[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

// On Windows, names that differ only in letter case are one file.
bool CheckCaseClashes(const std::vector<PackItem>& items, std::string* error) {
    std::map<std::string, const PackItem*> files;
    std::map<std::string, const PackItem*> directories;
    for (const PackItem& item : items) {
        const std::string folded = FoldCase(item.name);
        const auto [file, added] = files.emplace(folded, &item);
        if (!added) {
            *error = GbkForDisplay(file->second->name) + " and " + GbkForDisplay(item.name) +
                     ": the names differ only in letter case";
            return false;
        }
        for (std::size_t p = FindBackslash(folded, 0); p != std::string::npos;
             p = FindBackslash(folded, p + 1)) {
            directories.emplace(folded.substr(0, p), &item);
        }
    }
    for (const auto& [folded, item] : files) {
        const auto directory = directories.find(folded);
        if (directory != directories.end()) {
            *error = GbkForDisplay(item->name) + " and " + GbkForDisplay(directory->second->name) +
                     ": a file's name is a directory's name in another letter case";
            return false;
        }
    }
    return true;
}

}  // namespace

bool ScanTree(const fs::path& folder, std::vector<PackItem>* items, std::string* error) {
    items->clear();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        *error = PathForDisplay(folder) + ": not a folder";
        return false;
    }
    fs::recursive_directory_iterator it(folder, fs::directory_options::none, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!AddEntry(folder, *it, items, error)) {
            return false;
        }
    }
    if (ec) {
        *error = PathForDisplay(folder) + ": cannot be read: " + ec.message();
        return false;
    }
    std::sort(items->begin(), items->end(),
              [](const PackItem& a, const PackItem& b) { return a.name < b.name; });
    std::int64_t total = 0;
    for (const PackItem& item : *items) {
        total += item.size;
    }
    if (total > kMaxPackageTotal) {
        *error = "the files add up to " + std::to_string(total) + " bytes, more than 2,147,483,647";
        return false;
    }
    return CheckCaseClashes(*items, error);
}

}  // namespace qz::pack
