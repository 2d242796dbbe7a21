// Win32ReadStream: a file opened for reading, read forward through its handle.
// Windows only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "common/file_system.h"
#include "common/unique_handle_win32.h"

namespace qz {

class Win32ReadStream : public ReadStream {
  public:
    explicit Win32ReadStream(UniqueHandle handle);

    // ReadFile of up to n bytes (at most 1 GiB at a time): the count
    // delivered, 0 at the end of the file, -1 on an error.
    std::int64_t Read(void* buf, std::size_t n) override;

    // The open file, for the caller that opened it: its size, its position.
    HANDLE handle() const { return m_handle.get(); }

  private:
    UniqueHandle m_handle;
};

}  // namespace qz
