#include "framework/win_app.h"

#include <commctrl.h>
#include <mbctype.h>

#include "common/ansi_code_page.h"
#include "common/app_name.h"

namespace {
CWinApp* g_app = nullptr;
}

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

int AfxWinMain(HINSTANCE instance) {
    // Multibyte text functions follow the system's ANSI code page.
    _setmbcp(_MB_CP_ANSI);
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return 0;
    }
    app->m_hInstance = instance;
    if (app->m_strAppName.empty()) {
        char path[MAX_PATH] = {};
        const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        app->m_strAppName = qz::AppNameFromModulePath(
            std::string(path, length < MAX_PATH ? length : 0), qz::IsAnsiLeadByte);
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    try {
        app->InitInstance();
    } catch (...) {
    }
    return 0;
}
