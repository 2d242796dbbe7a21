// NoLinkFileSystem: the Win32 file layer for a program that writes with
// administrator rights into a folder others may have prepared. Below a root
// (the install directory) nothing is reached through a link: the root and
// every folder level below it are opened on their handles without following a
// reparse point (a junction, a symbolic link, a mount point), checked on that
// handle, and held open without delete sharing while anything below them is
// opened, so that no level can be renamed, removed or swapped for a link in
// between; each file is opened the same way. A level that is a reparse point
// makes the operation fail (ERROR_CANT_RESOLVE_FILENAME). The folders above the
// root are the caller's choice and may be links.
//
// Paths are narrow strings in the code page `isLead` describes (the Win32
// program: the system's ANSI one), passed to the ANSI functions as they stand.
// One instance serves one thread. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/dbcs.h"
#include "common/file_system.h"
#include "common/unique_handle_win32.h"

// <windows.h> maps CreateDirectory to CreateDirectoryA, which would rename the
// member below (file_system.h undoes it only where it is included first).
#ifdef CreateDirectory
#undef CreateDirectory
#endif

namespace qz {

// One folder at or below the root, open on its handle and held.
class HeldFolder;

// How NoLinkFileSystem::Open opens the last level of a path: CreateFileA's
// arguments, to which FILE_FLAG_OPEN_REPARSE_POINT is always added.
struct NoLinkOpen {
    DWORD access = 0;
    DWORD share = 0;
    DWORD disposition = OPEN_EXISTING;
    DWORD flags = FILE_ATTRIBUTE_NORMAL;  // FILE_FLAG_BACKUP_SEMANTICS opens a folder
};

class NoLinkFileSystem : public FileSystem {
  public:
    // root: the install directory, ending with a backslash.
    explicit NoLinkFileSystem(std::string root, LeadByteTest isLead);
    ~NoLinkFileSystem() override;
    NoLinkFileSystem(const NoLinkFileSystem&) = delete;
    NoLinkFileSystem& operator=(const NoLinkFileSystem&) = delete;

    // A level above the root: CreateDirectoryA, as the Win32 file layer. The
    // root or a level below it: made below its held parent, then opened,
    // checked and held itself; false when it was not made (it exists, the
    // system refused) or when a level, this one included, is a link.
    bool CreateDirectory(const std::string& path) override;
    // A file below the root, opened without sharing (null on failure, when a
    // level or the file is a link, or when the path is not below the root).
    // The stream keeps the folders above the file held until it is destroyed.
    std::unique_ptr<ReadStream> OpenRead(const std::string& path) override;
    std::unique_ptr<WriteStream> CreateWrite(const std::string& path) override;

    // The building block of the operations above, for those a caller adds
    // (removing through a held handle): holds every folder from the root to
    // the one holding the last level of `path`, opens that last level as
    // `how` says and checks on its handle that it is no reparse point. `path`
    // is the root or lies below it; a trailing backslash names a folder.
    // Returns the handle, or none with the thread's last error set. The
    // folders stay held until an operation on a path in other folders.
    UniqueHandle Open(const std::string& path, const NoLinkOpen& how);

  private:
    // Holds the root and each folder below it up to `folder` (ending with a
    // backslash, the root or below it), keeping the levels already held that
    // it shares. False with the last error set when a level cannot be opened,
    // is no folder or is a link.
    bool HoldFolders(const std::string& folder);
    // True when path (without a trailing backslash) is the root or below it.
    bool AtOrBelowRoot(const std::string& path) const;
    // `path` up to and including its last backslash before its last level.
    std::string ParentOf(const std::string& path) const;

    std::string m_root;
    LeadByteTest m_isLead;
    // The held folders, the root first, each a level of the one before it.
    std::vector<std::shared_ptr<HeldFolder>> m_held;
};

}  // namespace qz
