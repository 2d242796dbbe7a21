#include "framework/message_box.h"

#include "framework/win_app.h"
#include "framework/wnd.h"

int AfxMessageBox(const char* text, UINT type, UINT) {
    HWND owner = nullptr;
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd != nullptr && ::IsWindow(app->m_pMainWnd->m_hWnd)) {
        owner = ::GetLastActivePopup(app->m_pMainWnd->m_hWnd);
    }
    return ::MessageBoxA(owner, text, AfxGetAppName(), type);
}
