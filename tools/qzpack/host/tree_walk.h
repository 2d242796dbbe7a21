// Walks the entries below a folder for the tree scan, each folder met before
// what it holds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <system_error>

#include "qzpack/host/file_identity.h"

namespace qz::pack {

// What the walk tells of a regular file, links followed.
struct FileFacts {
    std::uintmax_t size = 0;
    FileIdentity identity;
    std::uintmax_t links = 1;  // its names (hard links), this one among them
};

// One entry met by the walk, valid during the visit only.
class TreeEntry {
  public:
    using String = std::filesystem::path::string_type;

    virtual ~TreeEntry() = default;
    // Its host path: the folder's, then each level.
    virtual const String& Path() const = 0;
    // Its levels below the folder, joined by the host's separator.
    virtual String Relative() const = 0;
    // Its own type, a link not followed. False, with *ec set, when it cannot
    // be looked at.
    virtual bool OwnType(std::filesystem::file_type* type, std::error_code* ec) const = 0;
    // The type of what a link leads to. False, with *ec set, when it leads
    // nowhere.
    virtual bool TargetType(std::filesystem::file_type* type, std::error_code* ec) const = 0;
    // Its size, identity and number of names, links followed. False, with
    // *ec set, when it cannot be measured or is no regular file.
    virtual bool Measure(FileFacts* facts, std::error_code* ec) const = 0;
};

// Told one entry; true to go on. A folder it accepts is walked into next,
// unless it is a link.
using TreeVisitor = std::function<bool(const TreeEntry& entry)>;

// Walks every entry below folder. True when all were visited; false when the
// visitor stopped, or with *ec set when a folder could not be read.
bool WalkTree(const std::filesystem::path& folder, const TreeVisitor& visit, std::error_code* ec);

}  // namespace qz::pack
