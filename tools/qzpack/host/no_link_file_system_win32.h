// The file layer of `qzpack extract` on Windows: the Win32 file layer, but a
// path with a level below the install directory that is a link or another
// reparse point (a junction, a mount point) is refused, so that a link found
// in the target folder cannot lead a write out of it. The levels are looked
// at just before each operation, so a link made in between is not seen.
// Windows only; the header itself needs no Windows headers.
#pragma once

#include <string>

#include "common/dbcs.h"
#include "common/file_system.h"
#include "common/file_system_win32.h"

namespace qz::pack {

class NoLinkFileSystem : public FileSystem {
  public:
    // install_dir: ending with a backslash; paths are in the code page isLead
    // tells, the one the ANSI functions open them in.
    NoLinkFileSystem(std::string install_dir, LeadByteTest isLead);

    bool CreateDirectory(const std::string& path) override;
    std::unique_ptr<ReadStream> OpenRead(const std::string& path) override;
    std::unique_ptr<WriteStream> CreateWrite(const std::string& path) override;

  private:
    // True when no level of path below the install directory, path itself
    // included, is a reparse point; false with the thread's last error set
    // otherwise. A path outside the install directory (a level above it) is
    // the caller's choice and passes.
    bool FreeOfLinks(const std::string& path) const;

    Win32FileSystem m_inner;
    std::string m_install_dir;
    LeadByteTest m_is_lead;
};

}  // namespace qz::pack
