#include <windows.h>

#include "common/file_system_win32.h"
#include "common/read_stream_win32.h"
#include "common/unique_handle_win32.h"

#include <algorithm>
#include <utility>

namespace qz {
namespace {

// WriteFile takes a DWORD count; larger requests go in pieces.
constexpr std::size_t kMaxIo = 1u << 30;

class Win32WriteStream : public WriteStream {
  public:
    explicit Win32WriteStream(UniqueHandle handle) : m_handle(std::move(handle)) {}

    bool Write(const void* buf, std::size_t n) override {
        if (!m_handle) {
            return false;
        }
        const char* p = static_cast<const char*>(buf);
        while (n > 0) {
            DWORD put = 0;
            const auto want = static_cast<DWORD>(std::min(n, kMaxIo));
            if (!::WriteFile(m_handle.get(), p, want, &put, nullptr) || put == 0) {
                return false;
            }
            p += put;
            n -= put;
        }
        return true;
    }

    // True when the handle was open and closed cleanly, or was already closed.
    bool Close() override { return !m_handle || ::CloseHandle(m_handle.release()) != FALSE; }

  private:
    UniqueHandle m_handle;
};

}  // namespace

bool Win32FileSystem::CreateDirectory(const std::string& path) {
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

std::unique_ptr<ReadStream> Win32FileSystem::OpenRead(const std::string& path) {
    UniqueHandle handle(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        return nullptr;
    }
    return std::make_unique<Win32ReadStream>(std::move(handle));
}

std::unique_ptr<WriteStream> Win32FileSystem::CreateWrite(const std::string& path) {
    UniqueHandle handle(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        return nullptr;
    }
    return std::make_unique<Win32WriteStream>(std::move(handle));
}

}  // namespace qz
