// The file layer on a POSIX host, for qzpack and the tests.
//
// A path is mapped in this order: the GBK bytes are converted to UTF-8 (so a
// GBK trail byte 0x5C never becomes a separator); every backslash becomes a
// slash; a leading drive letter with its colon ("C:") is dropped, and so are
// leading separators; the rest is placed under the root given to the
// constructor. So with root "out", both C:\Program Files\Qorvane\a.txt and
// Program Files\Qorvane\a.txt map to out/Program Files/Qorvane/a.txt. A path
// that is not valid GBK, or that has a ".." level, is refused (the operation
// fails), so nothing is ever reached outside the root. Below the root no link
// is followed: each level is looked up in the folder before it, and a level
// that is a link makes the operation fail, so that a link planted inside the
// root cannot lead a write out of it. The root itself may be a link. Only
// regular files are opened: a FIFO, a device or a socket found at a name is
// refused, and never waited on. A file that exists already is not written
// into: its replacement is written under a new name beside it and renamed
// over it when closed, so that a hard link planted there cannot carry the
// bytes into a file elsewhere.
#pragma once

#include <string>
#include <unordered_set>

#include "common/file_system.h"
#include "common/unique_fd_posix.h"

namespace qz {

class PosixFileSystem : public FileSystem {
  public:
    // root: a host directory (UTF-8), "." for the current one.
    explicit PosixFileSystem(std::string root);

    bool CreateDirectory(const std::string& path) override;
    std::unique_ptr<ReadStream> OpenRead(const std::string& path) override;
    std::unique_ptr<WriteStream> CreateWrite(const std::string& path) override;

    // The host path for a GBK path, as described above; false when refused.
    bool MapPath(const std::string& path, std::string* host_path) const;

  private:
    // The host path below the root for a GBK path ("" for the root itself),
    // as MapPath without the root; false when refused.
    bool MapRelative(const std::string& path, std::string* relative) const;
    // The handle of the folder that holds the last level of the GBK path,
    // each folder above it looked up in the one before without following a
    // link, with *leaf set to that last level; for the root itself AT_FDCWD
    // with *leaf set to the root. -1 when the path is refused or a folder on
    // the way is missing, no folder, or a link (errno tells).
    int FolderOf(const std::string& path, std::string* leaf);

    std::string m_root;
    UniqueFd m_root_fd;    // the root, opened on first use
    std::string m_folder;  // the folder below the root held open, or ""
    UniqueFd m_folder_fd;  // its handle, or none
    // Directories made or found by this instance. One instance serves one
    // thread; a directory removed behind its back is not noticed.
    std::unordered_set<std::string> m_knownDirectories;
};

// Converts GBK bytes to UTF-8. False when the input is not valid GBK.
bool GbkToUtf8(const std::string& gbk, std::string* utf8);
// Converts UTF-8 bytes to GBK. False when the input is not valid UTF-8 or holds
// a character that GBK lacks.
bool Utf8ToGbk(const std::string& utf8, std::string* gbk);

}  // namespace qz
