#include "framework/dialog.h"

#include "framework/win_app.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (owner == nullptr) {
        CWinApp* app = AfxGetApp();
        if (app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd != this) {
            owner = app->m_pMainWnd->m_hWnd;
        }
    }
    const INT_PTR result =
        ::DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner,
                          &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    DestroyWindow();
    m_hWnd = nullptr;
    return result;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::DestroyWindow() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        return ::DestroyWindow(m_hWnd);
    }
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL save) {
    CDataExchange dx{this, save};
    DoDataExchange(&dx);
    return TRUE;
}

bool CDialog::OnWndMsg(UINT msg, WPARAM wp, LPARAM, LRESULT* result) {
    // Buttons send BN_CLICKED (0); the dialog manager sends the same code for
    // Enter (IDOK) and Esc (IDCANCEL).
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        if (LOWORD(wp) == IDOK) {
            OnOK();
            *result = TRUE;
            return true;
        }
        if (LOWORD(wp) == IDCANCEL) {
            OnCancel();
            *result = TRUE;
            return true;
        }
    }
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // No exception may unwind into user32: every handler runs inside a catch-all.
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialog*>(lp);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_hWnd = hwnd;
        try {
            return self->OnInitDialog();
        } catch (...) {
            return TRUE;
        }
    }
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    // Handlers may run nested modal loops (an About box, a message box), so the
    // default-processing request is kept per message.
    const bool outer = self->m_bDefault;
    self->m_bDefault = false;
    LRESULT result = 0;
    bool handled = false;
    try {
        handled = self->OnWndMsg(msg, wp, lp, &result);
    } catch (...) {
        handled = true;
    }
    const bool wantsDefault = self->m_bDefault;
    self->m_bDefault = outer;
    if (!handled || wantsDefault) {
        return FALSE;
    }
    if (msg == WM_QUERYDRAGICON) {
        return static_cast<INT_PTR>(result);
    }
    return TRUE;
}
