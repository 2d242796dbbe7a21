// Removing what an installation wrote, and nothing else: the uninstaller's
// only way to delete. Every operation names a root (a folder ending with a
// backslash) and a relative name below it; the root and every level between
// it and the item are looked at on their own open handles, so a link (a
// junction, a symbolic link, any reparse point) is never followed. Nothing
// here deletes a folder that holds anything.
#pragma once

#include <string>

namespace qz {

enum class Removal {
    kRemoved,    // it was there and is gone
    kMissing,    // nothing of that name (or a level above it is missing)
    kLink,       // the item or a level on the way is a reparse point: left alone
    kNotEmpty,   // a folder that holds something: left alone
    kWrongKind,  // a folder where a file was named, or a file where a folder was
    kInUse,      // a program holds it open (a sharing or lock violation)
    kFailed,     // the system refused otherwise (no permission, ...)
};

// What lies at a name, seen without following a link.
enum class ItemKind { kMissing, kFile, kFolder, kLink };

class FileRemoval {
  public:
    virtual ~FileRemoval() = default;
    // Removes the file root + name (name not empty). Returns a Removal.
    virtual Removal RemoveFile(const std::string& root, const std::string& name) = 0;
    // Removes the folder root + name (empty name: root itself) when it is
    // empty. Returns a Removal; kNotEmpty changes nothing.
    virtual Removal RemoveFolder(const std::string& root, const std::string& name) = 0;
    // What root + name is (empty name: root itself); kLink also when a level
    // on the way is one.
    virtual ItemKind Inspect(const std::string& root, const std::string& name) = 0;
    // Marks root + name (empty name: root itself), which a program holds or
    // which holds such an item, to be removed when the system next starts,
    // after what was marked before it. Returns true when it was marked.
    virtual bool MarkForRestart(const std::string& root, const std::string& name) = 0;
};

}  // namespace qz
