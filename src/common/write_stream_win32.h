// Win32WriteStream: a file opened for writing, written through its handle.
// Windows only.
#pragma once

#include <windows.h>

#include <cstddef>

#include "common/file_system.h"
#include "common/unique_handle_win32.h"

namespace qz {

class Win32WriteStream : public WriteStream {
  public:
    explicit Win32WriteStream(UniqueHandle handle);

    // WriteFile of all n bytes (at most 1 GiB at a time); false on any
    // failure, a short write included.
    bool Write(const void* buf, std::size_t n) override;
    // True when the handle was open and closed cleanly, or was already closed.
    bool Close() override;

  private:
    UniqueHandle m_handle;
};

}  // namespace qz
