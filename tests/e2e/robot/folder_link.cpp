#include "robot/folder_link.h"

#include <windows.h>

#include "robot/report.h"
#include "robot/ui.h"

namespace robot {
namespace {

// Wine's own export: the Unix path of a Windows path (freed by the process's
// heap); empty outside Wine.
std::string UnixPathOf(const std::string& path) {
    using ToUnix = char*(CDECL*)(const WCHAR*);
    const auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH] = {};
    if (to_unix == nullptr ||
        ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) == 0)
        return std::string();
    char* unix_path = to_unix(wide);
    if (unix_path == nullptr)
        return std::string();
    std::string result = unix_path;
    ::HeapFree(::GetProcessHeap(), 0, unix_path);
    return result;
}

bool IsFolderLink(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
               (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

void PlantFolderLink(const std::string& link, const std::string& target) {
    Step("plant a folder link " + link + " -> " + target);
    const std::string unix_target = UnixPathOf(target);
    const std::size_t cut = link.rfind('\\');
    const std::string unix_parent = UnixPathOf(link.substr(0, cut));
    Require(!unix_target.empty() && !unix_parent.empty(), "the Unix paths are known");
    // Wine splits the command line as Windows does: double quotes group.
    std::string command =
        "ln -s \"" + unix_target + "\" \"" + unix_parent + "/" + link.substr(cut + 1) + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // Wine starts a Unix program by its Z: path; its handle cannot be waited
    // on, so the link is waited for instead.
    if (::CreateProcessA("Z:\\bin\\ln", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    Require(WaitUntil([&] { return IsFolderLink(link); }), "the link shows as a reparse point");
}

}  // namespace robot
