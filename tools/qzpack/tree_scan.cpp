#include "tree_scan.h"

#include <algorithm>
#include <system_error>

#include "common/constants.h"
#include "engine/entry_rules.h"
#include "engine/package_format.h"
#include "host_text.h"
#include "name_check_text.h"
#include "source_files.h"

namespace qz::pack {
namespace {

namespace fs = std::filesystem;

// A backslash in a host name would become a separator in the package name.
bool HasBackslash(const fs::path& level) {
    for (auto c : level.native()) {
        if (c == '\\') {
            return true;
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
        if (HasBackslash(level)) {
            *error = PathForDisplay(relative) +
                     ": the name holds a backslash, which Windows file names cannot hold";
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
    return true;
}

// The entry's own type, links not followed: the listing's type where the
// system gives one, so that a plain file or folder costs no lstat.
fs::file_status OwnStatus(const fs::directory_entry& entry, std::error_code& ec) {
    if (entry.is_regular_file(ec) && !entry.is_symlink(ec) && !ec) {
        return fs::file_status(fs::file_type::regular);
    }
    ec.clear();
    return entry.symlink_status(ec);
}

// Adds the file or refuses what cannot be carried.
bool AddEntry(const fs::path& folder, const fs::directory_entry& entry, SourceFiles& files,
              std::vector<PackItem>* items, std::string* error) {
    std::error_code ec;
    const fs::path relative = entry.path().lexically_relative(folder);
    const fs::file_status own = OwnStatus(entry, ec);
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
    std::uintmax_t size = 0;
    if (!files.Size(entry.path().native(), &size, &ec)) {
        *error = PathForDisplay(entry.path()) + ": " + ec.message();
        return false;
    }
    if (size > static_cast<std::uintmax_t>(kMaxPackageTotal)) {
        *error = PathForDisplay(entry.path()) + ": larger than 2,147,483,647 bytes";
        return false;
    }
    item.source = entry.path().native();
    item.size = static_cast<std::int64_t>(size);
    items->push_back(std::move(item));
    return true;
}

// The installer's own directory check on the names, its refusal told with
// the source files' paths.
bool CheckAsInstaller(const std::vector<PackItem>& items, EntryCheck* check, std::string* error) {
    std::vector<std::unique_ptr<PackageEntry>> entries;
    entries.reserve(items.size());
    for (const PackItem& item : items) {
        auto entry = std::make_unique<PackageEntry>();
        *entry = PackageEntry{};
        entry->nSize = static_cast<std::int32_t>(item.size);
        item.name.copy(entry->szName, item.name.size());
        entries.push_back(std::move(entry));
    }
    *check = ValidateDirectory(entries);
    const auto source = [&items](std::size_t i) { return PathForDisplay(items[i].source); };
    switch (check->status) {
        case DirectoryCheck::kOk:
            return true;
        case DirectoryCheck::kBadName:
            *error = source(check->bad_index) +
                     ": the installer refuses this name: " + NameCheckText(check->name);
            break;
        case DirectoryCheck::kTotalTooLarge:
            *error = "the files add up to " + std::to_string(check->total) +
                     " bytes, more than 2,147,483,647";
            break;
        case DirectoryCheck::kFolderClash:
            *error = source(check->bad_index) + " and " + source(check->other_index) +
                     ": one names a file where the other needs a folder (letter case aside)";
            break;
    }
    return false;
}

}  // namespace

bool ScanTree(const fs::path& folder, std::vector<PackItem>* items, std::string* error,
              EntryCheck* check) {
    items->clear();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        *error = PathForDisplay(folder) + ": not a folder";
        return false;
    }
    SourceFiles files;
    fs::recursive_directory_iterator it(folder, fs::directory_options::none, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!AddEntry(folder, *it, files, items, error)) {
            return false;
        }
    }
    if (ec) {
        *error = PathForDisplay(folder) + ": cannot be read: " + ec.message();
        return false;
    }
    std::sort(items->begin(), items->end(),
              [](const PackItem& a, const PackItem& b) { return a.name < b.name; });
    EntryCheck own;
    return CheckAsInstaller(*items, check != nullptr ? check : &own, error);
}

}  // namespace qz::pack
