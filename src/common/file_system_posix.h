// The file layer on a POSIX host, for qzpack and the tests.
//
// A path is mapped in this order: the GBK bytes are converted to UTF-8 (so a
// GBK trail byte 0x5C never becomes a separator); every backslash becomes a
// slash; a leading drive letter with its colon ("C:") is dropped, and so are
// leading separators; the rest is placed under the root given to the
// constructor. So with root "out", both C:\Program Files\Qorvane\a.txt and
// Program Files\Qorvane\a.txt map to out/Program Files/Qorvane/a.txt. A path
// that is not valid GBK, or that has a ".." level, is refused (the operation
// fails), so nothing is ever reached outside the root.
#pragma once

#include <string>
#include <unordered_set>

#include "common/file_system.h"

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
    std::string m_root;
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
