// Reading and driving another process's windows, as a person would: only
// through what the screen shows and what a click or a key press does.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace robot {

// Default wait for a window to appear or go.
constexpr DWORD kWait = 15000;

std::string WindowText(HWND hwnd);  // WM_GETTEXT: works across processes
// The window's text in UTF-16: WM_GETTEXT sent as a Unicode message, which a
// Unicode window answers with no code page in between.
std::wstring WideWindowText(HWND hwnd);
// The window's caption, then the texts of its children in the order of its
// template, all in UTF-16; children that show no text (pictures, or an empty
// text) are left out.
std::vector<std::wstring> WideTexts(HWND dialog);
std::string ClassNameOf(HWND hwnd);
bool IsEnabled(HWND hwnd);
bool IsShown(HWND hwnd);      // WS_VISIBLE of the window itself
int CheckState(HWND button);  // BM_GETCHECK
LONG StyleOf(HWND hwnd);
LONG ExStyleOf(HWND hwnd);
RECT RectOf(HWND hwnd);
HWND Item(HWND dialog, int id);
// The first child of `dialog` of window class `className` whose text is
// `text` (GBK bytes); null when there is none.
HWND FindChild(HWND dialog, const std::string& className, const std::string& text);

// The process's top-level windows, visible or not.
std::vector<HWND> TopLevelWindows(DWORD pid);
// The process's visible top-level dialogs (class #32770).
std::vector<HWND> Dialogs(DWORD pid);
// Waits for a visible dialog of `pid` with exactly `caption` (GBK bytes) that
// has a child `controlId` (0: any). Null after `ms`.
HWND WaitDialog(DWORD pid, const std::string& caption, int controlId, DWORD ms = kWait);
// The buttons a message box offers: exactly these, every other button id
// (IDOK ... IDCONTINUE, IDHELP) absent.
enum class Buttons { kOk, kOkCancel, kYesNo };
// Waits for a message box of `pid` captioned `caption` and checks its buttons.
// Null after `ms`.
HWND WaitMessageBox(DWORD pid, const std::string& caption, Buttons buttons, DWORD ms = kWait);
// Checks that `box` shows exactly the buttons of `buttons`; false (and a
// recorded failure) otherwise.
bool CheckButtons(HWND box, Buttons buttons);
// The text of a message box (its static 0xFFFF).
std::string MessageBoxText(HWND box);
std::wstring WideMessageBoxText(HWND box);
// True when `hwnd` is no longer a window within `ms`.
bool WaitGone(HWND hwnd, DWORD ms = kWait);
// Polls `condition` every 20 ms; true as soon as it holds, false after `ms`.
bool WaitUntil(const std::function<bool()>& condition, DWORD ms = kWait);

// Clicks button `id` of `dialog` the way a person can: only a visible,
// enabled button. Records a failure and returns false otherwise.
bool Click(HWND dialog, int id);
// Presses and releases a key on the control that has the keyboard focus in
// `dialog`'s thread (the dialog manager sees it as typed).
void PressKey(HWND dialog, UINT vk);
// Types `text` into edit `id` of `dialog` (replaces its text).
void TypeText(HWND dialog, int id, const std::string& text);
// The control with the keyboard focus in `dialog`'s thread.
HWND FocusOf(HWND dialog);
// Sends a system command as the system menu or the caption buttons do.
void SystemCommand(HWND window, WPARAM command);

// How a message sent with SendAndWatch ended.
enum class Delivery {
    kHandled,   // the program's handler ran to its end and returned
    kStopped,   // `stop` held first (e.g. the handler opened a modal window)
    kTimedOut,  // neither within `ms`
};
// Sends `msg` to `window` of another process without blocking the robot and
// waits until the program has handled it or `stop` holds.
Delivery SendAndWatch(HWND window, UINT msg, WPARAM wp, LPARAM lp,
                      const std::function<bool()>& stop, DWORD ms = kWait);
// True once the thread of `window` is back in its message loop: it has
// answered a message sent now (a synchronous round trip), so whatever its
// current handler was doing has run to its end.
bool RoundTrip(HWND window, DWORD ms = kWait);
// Waits until the thread of `progressBar` has handled everything posted to
// it (and to any window of that thread) before this call: posts a marker step
// value to the bar and waits until the bar reports it. The progress page moves
// its bar by position only, so the step value is free for the robot.
bool WaitPostedHandled(HWND progressBar, DWORD ms = kWait);

}  // namespace robot
