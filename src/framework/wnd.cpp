#include "framework/wnd.h"

#include <vector>

const CWnd CWnd::wndTop(HWND_TOP);

CWnd* CWnd::FromHandle(HWND hwnd) {
    thread_local CWnd temporary;
    temporary.m_hWnd = hwnd;
    return &temporary;
}

void CWnd::SetWindowText(const char* fixedText) const {
    SetWindowText(ScreenText().Fixed(fixedText != nullptr ? fixedText : ""));
}

void CWnd::SetWindowText(const ScreenText& text) const {
    ::SetWindowTextW(m_hWnd, text.Wide().c_str());
}

std::string CWnd::GetWindowText() const {
    const LRESULT length = ::SendMessageA(m_hWnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) {
        return std::string();
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied =
        ::SendMessageA(m_hWnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) const {
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}

void CWnd::CenterWindow(const CWnd* alternateOwner) const {
    RECT self;
    RECT area;
    ::GetWindowRect(m_hWnd, &self);
    HWND centreOn = alternateOwner ? alternateOwner->m_hWnd : ::GetDesktopWindow();
    ::GetWindowRect(centreOn, &area);
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    int x = (area.left + area.right) / 2 - width / 2;
    int y = (area.top + area.bottom) / 2 - height / 2;
    // Keep the window on its monitor's work area, as a user expects of a
    // centred window on a small screen.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (::GetMonitorInfoA(::MonitorFromWindow(centreOn, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        const RECT& work = monitor.rcWork;
        if (x + width > work.right)
            x = work.right - width;
        if (x < work.left)
            x = work.left;
        if (y + height > work.bottom)
            y = work.bottom - height;
        if (y < work.top)
            y = work.top;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
