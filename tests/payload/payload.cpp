// A stand-in for one of the programs that the package carries. It records its
// start by appending one line, "<module file name>|<current directory>\r\n" in
// the ANSI code page, to the file named by QZ_LAUNCH_LOG (C:\qz-launches.log when
// that is unset), so that tests can see which programs were started and where.
//
// Built four times: with QZ_PAYLOAD_WINDOW (ravik.exe) it then shows a top-level
// window titled "Qorvane" until that window is closed; otherwise (uninstall.exe,
// pendrel.exe, setup.exe) it exits at once.
#include <windows.h>

#include <string>

#include "common/texts.h"
#include "common/unique_handle_win32.h"

namespace {

constexpr char kDefaultLaunchLog[] = "C:\\qz-launches.log";
// Several programs may start at the same moment and meet on the log: each
// opens it without write sharing, so writers take turns, and a sharing
// violation is retried for up to five seconds.
constexpr int kOpenAttempts = 250;
constexpr DWORD kOpenRetryMs = 20;

std::string LaunchLogPath() {
    // Read wide and converted here: Wine's GetEnvironmentVariableA cuts values
    // holding double-byte characters short by one byte per such character.
    wchar_t wide[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableW(L"QZ_LAUNCH_LOG", wide, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        return kDefaultLaunchLog;
    }
    char narrow[2 * MAX_PATH] = {};
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(n), narrow, sizeof narrow - 1,
                                    nullptr, nullptr);
    if (bytes <= 0) {
        return kDefaultLaunchLog;
    }
    return std::string(narrow, static_cast<std::size_t>(bytes));
}

UniqueHandle OpenForAppend(const std::string& path) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        // Appends from processes that share the file for writing are not
        // atomic under Wine (two writers can land at the same end offset and
        // one line is lost), so writers exclude one another.
        UniqueHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || GetLastError() != ERROR_SHARING_VIOLATION) {
            return file;
        }
        Sleep(kOpenRetryMs);
    }
    return UniqueHandle();
}

// True when the whole line reached the log.
bool RecordStart() {
    char module[MAX_PATH] = {};
    DWORD module_length = GetModuleFileNameA(nullptr, module, sizeof module);
    char directory[MAX_PATH] = {};
    DWORD directory_length = GetCurrentDirectoryA(sizeof directory, directory);
    if (module_length == 0 || module_length >= sizeof module || directory_length == 0 ||
        directory_length >= sizeof directory) {
        return false;
    }
    std::string line(module, module_length);
    line += '|';
    line.append(directory, directory_length);
    line += "\r\n";

    UniqueHandle log = OpenForAppend(LaunchLogPath());
    if (!log) {
        return false;
    }
    // One write call while no other writer has the log open: the line lands
    // whole at the end.
    DWORD written = 0;
    return WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
           written == line.size();
}

#ifdef QZ_PAYLOAD_WINDOW
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

int ShowProductWindow(HINSTANCE instance) {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = "QzPayloadWindow";
    if (RegisterClassA(&window_class) == 0) {
        return 3;
    }
    // The default WM_CLOSE handling destroys the window, which ends the loop.
    HWND window = CreateWindowExA(0, window_class.lpszClassName, qz::kProductName,
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 200,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 3;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
#endif

}  // namespace

// Exit status: 0, or 2 when the start could not be recorded (3: no window).
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int status = RecordStart() ? 0 : 2;
#ifdef QZ_PAYLOAD_WINDOW
    int window_status = ShowProductWindow(instance);
    if (window_status != 0) {
        status = window_status;
    }
#endif
    return status;
}
