#include "framework/win_app.h"

#include <commctrl.h>
#include <mbctype.h>

#include "common/ansi_code_page.h"
#include "common/app_name.h"
#include "framework/handles.h"
#include "framework/system_library.h"

namespace {

CWinApp* g_app = nullptr;

using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

// comctl32 is not one of the DLLs that Windows always takes from the system
// folder, so the program does not import it: it is loaded from there and stays
// loaded while the program runs, since the window classes it registers (the
// progress bar) live in it. Returns its owner, empty when it cannot be loaded;
// the classes are registered when it exports InitCommonControlsEx.
UniqueModule LoadCommonControls() {
    UniqueModule library = LoadSystemLibrary("comctl32.dll");
    const auto init =
        FindFunction<InitCommonControlsExFunction>(library.get(), "InitCommonControlsEx");
    if (init != nullptr) {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        init(&controls);
    }
    return library;
}

}  // namespace

CWinApp::CWinApp(const char* appName) {
    if (appName != nullptr) {
        m_strAppName = appName;
    }
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

HICON CWinApp::LoadIcon(UINT id) const {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(id), RT_GROUP_ICON);
    return ::LoadIconA(module, MAKEINTRESOURCEA(id));
}

CWinApp* AfxGetApp() {
    return g_app;
}

const char* AfxGetAppName() {
    return g_app != nullptr ? g_app->m_strAppName.c_str() : "";
}

HINSTANCE AfxGetResourceHandle() {
    return g_app != nullptr && g_app->m_hInstance != nullptr ? g_app->m_hInstance
                                                             : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR) {
    return AfxGetResourceHandle();
}

int AfxWinMain(HINSTANCE instance, const char* commandLine) {
    // Multibyte text functions follow the system's ANSI code page.
    _setmbcp(_MB_CP_ANSI);
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return 0;
    }
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine != nullptr ? commandLine : "";
    if (app->m_strAppName.empty()) {
        char path[MAX_PATH] = {};
        const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        app->m_strAppName = qz::AppNameFromModulePath(
            std::string(path, length < MAX_PATH ? length : 0), qz::IsAnsiLeadByte);
    }
    const UniqueModule commonControls = LoadCommonControls();
    int exitCode = 0;
    try {
        if (!app->InitInstance()) {
            exitCode = app->ExitInstance();
        }
    } catch (...) {
    }
    return exitCode;
}
