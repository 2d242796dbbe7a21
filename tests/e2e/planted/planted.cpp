// A DLL that tells when it is loaded: on process attach it appends one line,
// "<its own file name>|<the program's file name>\r\n" in the ANSI code page, to
// planted.log in its own folder. Copied under the names of system DLLs beside
// Install.exe, it shows whether the program took code from its own folder.
#include <windows.h>

#include <string>

#include "common/unique_handle_win32.h"

namespace {

constexpr char kRecordName[] = "planted.log";

// The file name of `module` (null: the program); empty when it cannot be had.
std::string ModuleName(HMODULE module) {
    char name[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, name, sizeof name);
    return length == 0 || length >= sizeof name ? std::string() : std::string(name, length);
}

// True when the whole line reached the record.
bool RecordLoad(HMODULE self) {
    const std::string dll = ModuleName(self);
    const std::string program = ModuleName(nullptr);
    const size_t slash = dll.rfind('\\');
    if (dll.empty() || program.empty() || slash == std::string::npos) {
        return false;
    }
    const std::string record = dll.substr(0, slash + 1) + kRecordName;
    const std::string line = dll + "|" + program + "\r\n";
    UniqueHandle file(CreateFileA(record.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
           written == line.size();
}

}  // namespace

// Returns TRUE: the DLL stays loaded whether or not its line was written, so
// that a failed record never keeps the program that loaded it from starting.
extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        try {
            RecordLoad(self);
        } catch (...) {
        }
    }
    return TRUE;
}
