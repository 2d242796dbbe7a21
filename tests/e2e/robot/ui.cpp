#include "robot/ui.h"

#include <commctrl.h>

#include <set>
#include <utility>
#include <vector>

#include "robot/report.h"

namespace robot {

std::string WindowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return std::string();
    }
    std::vector<char> buffer(length + 2, '\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied);
    return std::string(buffer.data(), copied < buffer.size() ? copied : 0);
}

std::wstring WideWindowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return std::wstring();
    }
    std::vector<wchar_t> buffer(length + 2, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied);
    return std::wstring(buffer.data(), copied < buffer.size() ? copied : 0);
}

std::vector<std::wstring> WideTexts(HWND dialog) {
    std::vector<std::wstring> texts{WideWindowText(dialog)};
    // Children are created in template order, each below the ones before it.
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        // A picture static keeps its resource's ordinal as its text.
        const LONG type = StyleOf(child) & SS_TYPEMASK;
        if (ClassNameOf(child) == "Static" && (type == SS_BITMAP || type == SS_ICON))
            continue;
        std::wstring text = WideWindowText(child);
        if (!text.empty())
            texts.push_back(std::move(text));
    }
    return texts;
}

std::string ClassNameOf(HWND hwnd) {
    char name[256] = {};
    const int length = ::GetClassNameA(hwnd, name, sizeof(name));
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

bool IsEnabled(HWND hwnd) {
    return ::IsWindowEnabled(hwnd) != FALSE;
}

bool IsShown(HWND hwnd) {
    return (::GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

int CheckState(HWND button) {
    DWORD_PTR state = 0;
    ::SendMessageTimeoutA(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return static_cast<int>(state);
}

LONG StyleOf(HWND hwnd) {
    return ::GetWindowLongA(hwnd, GWL_STYLE);
}

LONG ExStyleOf(HWND hwnd) {
    return ::GetWindowLongA(hwnd, GWL_EXSTYLE);
}

RECT RectOf(HWND hwnd) {
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    return rect;
}

HWND Item(HWND dialog, int id) {
    return ::GetDlgItem(dialog, id);
}

namespace {

struct ChildSearch {
    const std::string* className;
    const std::string* text;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<ChildSearch*>(lp);
    if (ClassNameOf(hwnd) == *search->className && WindowText(hwnd) == *search->text) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindChild(HWND dialog, const std::string& className, const std::string& text) {
    ChildSearch search{&className, &text, nullptr};
    ::EnumChildWindows(dialog, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

struct EnumState {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lp) {
    auto* state = reinterpret_cast<EnumState*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == state->pid) {
        state->found.push_back(hwnd);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid) {
    EnumState state{pid, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

std::vector<HWND> Dialogs(DWORD pid) {
    std::vector<HWND> dialogs;
    for (HWND hwnd : TopLevelWindows(pid)) {
        if (::IsWindowVisible(hwnd) && ClassNameOf(hwnd) == "#32770") {
            dialogs.push_back(hwnd);
        }
    }
    return dialogs;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (true) {
        if (condition())
            return true;
        if (::GetTickCount() - start >= ms)
            return false;
        ::Sleep(20);
    }
}

HWND WaitDialog(DWORD pid, const std::string& caption, int controlId, DWORD ms) {
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND hwnd : Dialogs(pid)) {
                if (WindowText(hwnd) == caption &&
                    (controlId == 0 || ::GetDlgItem(hwnd, controlId) != nullptr)) {
                    result = hwnd;
                    return true;
                }
            }
            return false;
        },
        ms);
    return result;
}

bool CheckButtons(HWND box, Buttons buttons) {
    std::set<int> expected;
    const char* names = "";
    switch (buttons) {
        case Buttons::kOk:
            expected = {IDOK};
            names = "OK only";
            break;
        case Buttons::kOkCancel:
            expected = {IDOK, IDCANCEL};
            names = "OK and Cancel";
            break;
        case Buttons::kYesNo:
            expected = {IDYES, IDNO};
            names = "Yes and No";
            break;
    }
    // IDOK 1 ... IDCONTINUE 11 and IDHELP 9: every button a message box can have.
    std::string shown;
    bool ok = true;
    for (int id = IDOK; id <= IDCONTINUE; ++id) {
        HWND button = ::GetDlgItem(box, id);
        const bool present = button != nullptr && ::IsWindowVisible(button);
        if (present)
            shown += Format(" %d", id);
        if (expected.count(id) != 0)
            ok = ok && present && IsEnabled(button);
        else
            ok = ok && button == nullptr;
    }
    return Check(ok, Format("the message box offers %s (buttons shown:%s)", names, shown.c_str()));
}

HWND WaitMessageBox(DWORD pid, const std::string& caption, Buttons buttons, DWORD ms) {
    HWND box = WaitDialog(pid, caption, 0xFFFF, ms);
    if (box != nullptr)
        CheckButtons(box, buttons);
    return box;
}

std::string MessageBoxText(HWND box) {
    return WindowText(::GetDlgItem(box, 0xFFFF));
}

std::wstring WideMessageBoxText(HWND box) {
    return WideWindowText(::GetDlgItem(box, 0xFFFF));
}

bool WaitGone(HWND hwnd, DWORD ms) {
    return WaitUntil([&] { return !::IsWindow(hwnd); }, ms);
}

bool Click(HWND dialog, int id) {
    HWND button = ::GetDlgItem(dialog, id);
    if (!Check(button != nullptr, Format("button %d exists", id)))
        return false;
    if (!Check(::IsWindowVisible(button) && IsEnabled(button),
               Format("button %d (\"%s\") is visible and enabled before the click", id,
                      Printable(WindowText(button)).c_str()))) {
        return false;
    }
    ::PostMessageA(button, BM_CLICK, 0, 0);
    return true;
}

HWND FocusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr);
    if (!::GetGUIThreadInfo(thread, &info))
        return nullptr;
    return info.hwndFocus;
}

void PressKey(HWND dialog, UINT vk) {
    HWND target = FocusOf(dialog);
    if (target == nullptr)
        target = dialog;
    const UINT scan = ::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    ::PostMessageA(target, WM_KEYDOWN, vk, 1 | (scan << 16));
    ::PostMessageA(target, WM_KEYUP, vk, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

void TypeText(HWND dialog, int id, const std::string& text) {
    HWND edit = ::GetDlgItem(dialog, id);
    Check(edit != nullptr && IsEnabled(edit), Format("edit %d can be typed into", id));
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                          SMTO_ABORTIFHUNG, 5000, &ignored);
}

void SystemCommand(HWND window, WPARAM command) {
    ::PostMessageA(window, WM_SYSCOMMAND, command, 0);
}

namespace {

// Tickets of the sends whose handlers have returned. The callback runs on the
// robot's thread while it peeks at its queue; a ticket is never reused, so a
// late callback after a timed-out wait marks nothing anyone waits for.
std::set<ULONG_PTR>& HandledTickets() {
    static std::set<ULONG_PTR> tickets;
    return tickets;
}

void CALLBACK OnHandled(HWND, UINT, ULONG_PTR ticket, LRESULT) {
    HandledTickets().insert(ticket);
}

}  // namespace

Delivery SendAndWatch(HWND window, UINT msg, WPARAM wp, LPARAM lp,
                      const std::function<bool()>& stop, DWORD ms) {
    static ULONG_PTR next = 0;
    const ULONG_PTR ticket = ++next;
    if (!::SendMessageCallbackA(window, msg, wp, lp, &OnHandled, ticket))
        return Delivery::kTimedOut;
    Delivery result = Delivery::kTimedOut;
    WaitUntil(
        [&] {
            MSG pending;
            ::PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);
            if (HandledTickets().erase(ticket) != 0) {
                result = Delivery::kHandled;
                return true;
            }
            if (stop && stop()) {
                result = Delivery::kStopped;
                return true;
            }
            return false;
        },
        ms);
    return result;
}

bool RoundTrip(HWND window, DWORD ms) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, ms, &ignored) != 0;
}

bool WaitPostedHandled(HWND progressBar, DWORD ms) {
    static WPARAM marker = 7000;
    ++marker;
    if (!::PostMessageA(progressBar, PBM_SETSTEP, marker, 0))
        return false;
    return WaitUntil(
        [&] {
            DWORD_PTR step = 0;
            return ::SendMessageTimeoutA(progressBar, PBM_GETSTEP, 0, 0, SMTO_ABORTIFHUNG, 5000,
                                         &step) != 0 &&
                   step == marker;
        },
        ms);
}

}  // namespace robot
