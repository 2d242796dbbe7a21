// CWnd: a window handle with the few operations the pages use. A CWnd does not
// own its window: dialogs end through their modal loop, and controls belong to
// their dialog.
#pragma once

#include <windows.h>

#include <string>

#include "framework/screen_text.h"

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

    // Sets a fixed text of the program (GBK), shown through the wide function
    // whatever the system's code page.
    void SetWindowText(const char* fixedText) const;
    // Sets a text that holds a path, converted piece by piece.
    void SetWindowText(const ScreenText& text) const;
    // The whole text of the window in the system's ANSI code page, read with
    // WM_GETTEXT (works for edits of this process and for any length): what the
    // user typed, as the narrow file functions take it.
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
