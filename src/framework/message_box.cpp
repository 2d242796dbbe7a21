#include "framework/message_box.h"

#include "framework/win_app.h"
#include "framework/wnd.h"

int AfxMessageBox(const char* text, UINT type, UINT helpId) {
    return AfxMessageBox(ScreenText().Fixed(text != nullptr ? text : ""), type, helpId);
}

int AfxMessageBox(const ScreenText& text, UINT type, UINT) {
    HWND owner = nullptr;
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd != nullptr && ::IsWindow(app->m_pMainWnd->m_hWnd)) {
        owner = ::GetLastActivePopup(app->m_pMainWnd->m_hWnd);
    }
    // The caption is the executable's name, which the system gave.
    const ScreenText caption = ScreenText().Path(AfxGetAppName());
    return ::MessageBoxW(owner, text.Wide().c_str(), caption.Wide().c_str(), type);
}
