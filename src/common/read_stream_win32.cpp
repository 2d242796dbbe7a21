#include "common/read_stream_win32.h"

#include <algorithm>
#include <utility>

namespace qz {
namespace {

// ReadFile takes a DWORD count; larger requests are cut.
constexpr std::size_t kMaxRead = 1u << 30;

}  // namespace

Win32ReadStream::Win32ReadStream(UniqueHandle handle) : m_handle(std::move(handle)) {}

std::int64_t Win32ReadStream::Read(void* buf, std::size_t n) {
    DWORD got = 0;
    const auto want = static_cast<DWORD>(std::min(n, kMaxRead));
    if (!::ReadFile(m_handle.get(), buf, want, &got, nullptr)) {
        return -1;
    }
    return got;
}

}  // namespace qz
