#include "support/folder_link_win32.h"

#include <windows.h>

namespace qz::test {
namespace {

// Wine's own export: the host path of a Windows path, allocated on the
// process heap; null when it has none.
using UnixNameOf = char*(CDECL*)(const wchar_t*);

std::string UnixName(UnixNameOf unixNameOf, const std::string& path) {
    wchar_t wide[MAX_PATH * 2] = {};
    if (::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH * 2) == 0) {
        return std::string();
    }
    char* unix = unixNameOf(wide);
    if (unix == nullptr) {
        return std::string();
    }
    std::string result = unix;
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

}  // namespace

bool PlantFolderLink(const std::string& link, const std::string& target) {
    const auto unixNameOf = reinterpret_cast<UnixNameOf>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (unixNameOf == nullptr) {
        return false;
    }
    const std::string from = UnixName(unixNameOf, link);
    const std::string to = UnixName(unixNameOf, target);
    if (from.empty() || to.empty()) {
        return false;
    }
    // Wine starts a host program as well, its arguments split as Windows
    // splits them.
    std::string command = "Z:\\bin\\ln -s \"" + to + "\" \"" + from + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return false;
    }
    ::WaitForSingleObject(process.hProcess, 30000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    // A host program's exit code does not reach a 32-bit Wine process, nor
    // does its end always: the link itself tells.
    for (int tries = 0; tries < 200; ++tries) {
        const DWORD attributes = ::GetFileAttributesA(link.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        }
        ::Sleep(50);
    }
    return false;
}

}  // namespace qz::test
