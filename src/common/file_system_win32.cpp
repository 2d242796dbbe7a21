#include <windows.h>

#include "common/file_system_win32.h"
#include "common/read_stream_win32.h"
#include "common/unique_handle_win32.h"
#include "common/write_stream_win32.h"

#include <utility>

namespace qz {

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
