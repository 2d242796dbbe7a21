// CWnd: a window handle with the few operations the pages use. A CWnd does not
// own its window: dialogs end through their modal loop, and controls belong to
// their dialog.
#pragma once

#include <windows.h>

#include <string>

class CWnd {
  public:
    CWnd() = default;
    explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The window object for a handle, valid until the calling thread's next
    // call of FromHandle with another handle; never owns the window.
    static CWnd* FromHandle(HWND hwnd);

    // Insert-after value for SetWindowPos: the top of the z-order.
    static const CWnd wndTop;

    void SetWindowText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }
    // The whole text of the window, read with WM_GETTEXT (works for edits of
    // this process and for any length).
    std::string GetWindowText() const;
    BOOL EnableWindow(BOOL enable) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::SendMessageA(m_hWnd, msg, wp, lp);
    }
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) const;
    // Centres the window on `alternateOwner` (the desktop for every page).
    void CenterWindow(const CWnd* alternateOwner) const;

    HWND m_hWnd = nullptr;
};
