#include "common/write_stream_win32.h"

#include <algorithm>
#include <utility>

namespace qz {
namespace {

// WriteFile takes a DWORD count; larger requests go in pieces.
constexpr std::size_t kMaxWrite = 1u << 30;

}  // namespace

Win32WriteStream::Win32WriteStream(UniqueHandle handle) : m_handle(std::move(handle)) {}

bool Win32WriteStream::Write(const void* buf, std::size_t n) {
    if (!m_handle) {
        return false;
    }
    const char* p = static_cast<const char*>(buf);
    while (n > 0) {
        DWORD put = 0;
        const auto want = static_cast<DWORD>(std::min(n, kMaxWrite));
        if (!::WriteFile(m_handle.get(), p, want, &put, nullptr) || put == 0) {
            return false;
        }
        p += put;
        n -= put;
    }
    return true;
}

bool Win32WriteStream::Close() {
    return !m_handle || ::CloseHandle(m_handle.release()) != FALSE;
}

}  // namespace qz
