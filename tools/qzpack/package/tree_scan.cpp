#include "qzpack/package/tree_scan.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "common/constants.h"
#include "engine/entry_rules.h"
#include "engine/package_format.h"
#include "qzpack/host/host_text.h"
#include "qzpack/package/name_check_text.h"
#include "qzpack/host/path_within.h"
#include "qzpack/host/tree_walk.h"

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

// True for a character that separates the levels of a host path.
bool IsSeparator(fs::path::value_type c) {
    return c == fs::path::preferred_separator || c == '/';
}

// The GBK package name for a path relative to the folder.
bool PackageName(const TreeEntry::String& relative, std::string* name, std::string* error) {
    name->clear();
    for (std::size_t start = 0; start < relative.size();) {
        std::size_t end = start;
        while (end < relative.size() && !IsSeparator(relative[end])) {
            ++end;
        }
        const fs::path level(relative.substr(start, end - start));
        start = end + 1;
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

// The file a link leads to, all links on the way resolved, when it lies
// inside real_folder (the packed folder, its links resolved). False, with
// *error naming the link and its target, when it lies outside or cannot be
// resolved: a link must not carry a file from elsewhere (a signing key, say)
// into the package.
bool TargetInside(const TreeEntry& entry, const fs::path& real_folder, fs::path* real,
                  std::string* error) {
    std::error_code ec;
    *real = fs::canonical(fs::path(entry.Path()), ec);
    if (ec) {
        *error = PathForDisplay(entry.Path()) + ": the link cannot be resolved: " + ec.message();
        return false;
    }
    if (!IsWithin(*real, real_folder)) {
        *error = PathForDisplay(entry.Path()) + ": a link to " + PathForDisplay(*real) +
                 ", which lies outside " + PathForDisplay(real_folder) + ", is not followed";
        return false;
    }
    return true;
}

// Adds the file or refuses what cannot be carried. A link's item is read from
// the file it leads to, as resolved and checked here.
bool AddEntry(const TreeEntry& entry, const fs::path& real_folder, std::vector<PackItem>* items,
              std::string* error) {
    std::error_code ec;
    const TreeEntry::String relative = entry.Relative();
    fs::file_type own = fs::file_type::none;
    if (!entry.OwnType(&own, &ec)) {
        // On Windows a device name such as aux.txt is listed but cannot be
        // looked at: say what is wrong with the name when something is.
        std::string name;
        if (PackageName(relative, &name, error)) {
            *error = PathForDisplay(entry.Path()) + ": " + ec.message();
        }
        return false;
    }
    fs::file_type target = own;
    if (own == fs::file_type::symlink && !entry.TargetType(&target, &ec)) {
        *error = PathForDisplay(entry.Path()) + ": broken link";
        return false;
    }
    if (target == fs::file_type::directory) {
        if (own == fs::file_type::symlink) {
            *error = PathForDisplay(entry.Path()) + ": a link to a directory is not followed";
            return false;
        }
        return true;
    }
    if (target != fs::file_type::regular) {
        *error = PathForDisplay(entry.Path()) + ": not a regular file";
        return false;
    }
    fs::path real;
    if (own == fs::file_type::symlink && !TargetInside(entry, real_folder, &real, error)) {
        return false;
    }
    PackItem item;
    if (!PackageName(relative, &item.name, error)) {
        return false;
    }
    FileFacts facts;
    if (!entry.Measure(&facts, &ec)) {
        *error = PathForDisplay(entry.Path()) + ": " + ec.message();
        return false;
    }
    if (facts.size > static_cast<std::uintmax_t>(kMaxPackageTotal)) {
        *error = PathForDisplay(entry.Path()) + ": larger than 2,147,483,647 bytes";
        return false;
    }
    if (own == fs::file_type::symlink) {
        // The resolved path lies below the resolved folder: its levels begin
        // after the folder's and a separator.
        item.source = real.native();
        item.relative_at =
            real_folder.native().size() + (IsSeparator(real_folder.native().back()) ? 0 : 1);
        item.links = 0;
    } else {
        item.source = entry.Path();
        item.relative_at = item.source.size() - relative.size();
        item.links = facts.links;
    }
    item.identity = facts.identity;
    item.size = static_cast<std::int64_t>(facts.size);
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

std::vector<std::string> HardLinkWarnings(const std::vector<PackItem>& items,
                                          const fs::path& folder) {
    std::map<FileIdentity, std::uint64_t> met;
    for (const PackItem& item : items) {
        if (item.links > 1) {
            ++met[item.identity];
        }
    }
    std::vector<std::string> warnings;
    for (const PackItem& item : items) {
        if (item.links <= 1) {
            continue;
        }
        const std::uint64_t here = met[item.identity];
        if (here < item.links) {
            warnings.push_back(PathForDisplay(item.source) + ": a hard link of a file with " +
                               std::to_string(item.links) + " names, " +
                               std::to_string(item.links - here) + " of them outside " +
                               PathForDisplay(folder) + ": its bytes are packed as they stand");
        }
    }
    return warnings;
}

bool ScanTree(const fs::path& folder, std::vector<PackItem>* items, std::string* error,
              EntryCheck* check) {
    items->clear();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        *error = PathForDisplay(folder) + ": not a folder";
        return false;
    }
    const fs::path real_folder = fs::canonical(folder, ec);
    if (ec) {
        *error = PathForDisplay(folder) + ": cannot be resolved: " + ec.message();
        return false;
    }
    const bool walked = WalkTree(
        folder,
        [&real_folder, items, error](const TreeEntry& entry) {
            return AddEntry(entry, real_folder, items, error);
        },
        &ec);
    if (!walked && !ec) {
        return false;
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
