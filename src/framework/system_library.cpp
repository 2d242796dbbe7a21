#include "framework/system_library.h"

#include <string>

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

// SetDefaultDllDirectories, or null on a system without it (before Windows 8,
// and Windows 7 without its update). Where it exists, LoadLibraryEx also knows
// LOAD_LIBRARY_SEARCH_SYSTEM32.
SetDefaultDllDirectoriesFunction FindSetDefaultDllDirectories() {
    return FindFunction<SetDefaultDllDirectoriesFunction>(::GetModuleHandleA("kernel32.dll"),
                                                          "SetDefaultDllDirectories");
}

}  // namespace

bool RestrictDllSearch() {
    const SetDefaultDllDirectoriesFunction setDefault = FindSetDefaultDllDirectories();
    const bool restricted =
        setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
    // The program makes its own folder current later (for data.dat).
    ::SetDllDirectoryA("");
    return restricted;
}

UniqueModule LoadSystemLibrary(const char* name) {
    if (FindSetDefaultDllDirectories() != nullptr) {
        return UniqueModule(::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    }
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return UniqueModule();
    }
    // The system folder is never a drive's root: its name ends without a
    // backslash. The DLLs that the library imports are then looked for in the
    // system folder first.
    const std::string path = std::string(folder, length) + "\\" + name;
    return UniqueModule(::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}
