// The host dialog and the start of the wizard, as a user meets them.
#include <windows.h>

#include "res/resource.h"
#include "robot/centring.h"
#include "robot/expected_texts.h"
#include "robot/installer.h"
#include "robot/report.h"
#include "robot/scenario.h"
#include "robot/screenshot.h"
#include "robot/system_state.h"
#include "robot/ui.h"

using namespace robot;

namespace {

// The About box appears for the command and closes again with `closeKey`
// (0: its OK button).
void OpenAndCloseAbout(Installer& run, HWND host, WPARAM command, UINT closeKey, const char* shot) {
    Step(Format("system command 0x%04X opens the About box", static_cast<unsigned>(command)));
    SystemCommand(host, command);
    HWND about = WaitDialog(run.Pid(), kAboutCaption, IDOK);
    Require(about != nullptr, "the About box opens");
    Check(FindChild(about, "Static", "Install 1.0 版") != nullptr,
          "the About box shows \"Install 1.0 版\"");
    Check(!IsEnabled(host), "the host is disabled while the About box is open");
    if (shot != nullptr)
        Screenshot(shot);
    if (closeKey == 0) {
        Click(about, IDOK);
    } else {
        PressKey(about, closeKey);
    }
    Check(WaitGone(about), "the About box closes");
    Check(WaitUntil([&] { return IsEnabled(host); }), "the host is usable again");
}

// The host moved out of sight and a licence page centred on the desktop.
void CheckWizardStarted(HWND host, HWND licence) {
    const RECT hostRect = RectOf(host);
    CheckEqual(hostRect.left, -100, "host's left edge after Install");
    CheckEqual(hostRect.top, -100, "host's top edge after Install");
    Check(::IsWindowVisible(host), "the host is still shown (off-screen)");
    CheckEqual(WindowText(licence), kPageCaption, "licence page caption");
    CheckCentred(licence, "the licence page");
    Check(licence != host, "the licence page is a window of its own");
}

void HostWindowAndAbout() {
    Installer run({});
    const Footprint before = TakeFootprint(run.SetupDir(), kDefaultInstallDir);
    run.Start();
    HWND host = run.WaitHost();
    Require(host != nullptr, "the host dialog appears");

    CheckEqual(WindowText(host), kPageCaption, "host caption");
    Check(ExStyleOf(host) & WS_EX_APPWINDOW, "the host has a taskbar button (WS_EX_APPWINDOW)");
    Check(FindChild(host, "Static", kPageCaption) != nullptr,
          "the host's label reads 安装 Qorvane");
    HWND install = Item(host, IDC_INSTALL);
    CheckEqual(WindowText(install), "安装", "Install button text");
    CheckEqual(StyleOf(install) & BS_TYPEMASK, BS_DEFPUSHBUTTON, "Install is the default button");
    Check(FocusOf(host) == install, "the keyboard focus is on Install");
    Screenshot("host");

    OpenAndCloseAbout(run, host, IDM_ABOUTBOX, 0, "about");
    OpenAndCloseAbout(run, host, IDM_ABOUTBOX | 0xF, VK_ESCAPE, nullptr);

    Step("minimise: no About box");
    // The command returns only once its handler is done; an About box would
    // hold it in its modal loop.
    const Delivery minimise = SendAndWatch(host, WM_SYSCOMMAND, SC_MINIMIZE, 0, [&] {
        return WaitDialog(run.Pid(), kAboutCaption, 0, 0) != nullptr;
    });
    Check(minimise == Delivery::kHandled, "the minimise command is handled and returns");
    Check(::IsIconic(host) != FALSE, "the host is minimised");
    Check(WaitDialog(run.Pid(), kAboutCaption, 0, 0) == nullptr, "minimising opens no About box");
    Screenshot("host-minimised");
    SystemCommand(host, SC_RESTORE);
    Check(WaitUntil([&] { return ::IsIconic(host) == FALSE; }), "the host is restored");

    Step("Esc ends the program");
    PressKey(host, VK_ESCAPE);
    Require(run.WaitExit(), "Esc on the host ends the program");
    CheckUntouched(before, TakeFootprint(run.SetupDir(), kDefaultInstallDir));
}

// Starts the wizard with `startKey` (0: a click on Install), checks the host
// and licence page, then leaves the licence page with `quitKey` (0: the quit
// button) and checks that nothing was written.
void StartWizardThenQuit(UINT startKey, UINT quitKey) {
    Installer run({});
    const Footprint before = TakeFootprint(run.SetupDir(), kDefaultInstallDir);
    run.Start();
    HWND host = run.WaitHost();
    Require(host != nullptr, "the host dialog appears");
    HWND licence = nullptr;
    if (startKey == 0) {
        licence = PressInstallOnHost(run, host);
    } else {
        Step("Enter on the host");
        PressKey(host, startKey);
        licence = run.WaitLicence();
        Require(licence != nullptr, "Enter on the host opens the licence page");
    }
    CheckWizardStarted(host, licence);
    Screenshot("licence");
    if (quitKey == 0) {
        Click(licence, IDCANCEL);
    } else {
        PressKey(licence, quitKey);
    }
    Require(run.WaitExit(), "leaving the licence page ends the program");
    Check(run.process().ExitCode() == 0, "the program ends normally");
    CheckUntouched(before, TakeFootprint(run.SetupDir(), kDefaultInstallDir));
}

void HostInstallClick() {
    StartWizardThenQuit(0, 0);
}
void HostInstallEnter() {
    StartWizardThenQuit(VK_RETURN, VK_ESCAPE);
}

void HostCloseBox() {
    Installer run({});
    const Footprint before = TakeFootprint(run.SetupDir(), kDefaultInstallDir);
    run.Start();
    HWND host = run.WaitHost();
    Require(host != nullptr, "the host dialog appears");
    SystemCommand(host, SC_CLOSE);
    Require(run.WaitExit(), "the close box ends the program");
    CheckUntouched(before, TakeFootprint(run.SetupDir(), kDefaultInstallDir));
}

const Scenario s1("host_window_and_about", &HostWindowAndAbout);
const Scenario s2("host_install_click", &HostInstallClick);
const Scenario s3("host_install_enter", &HostInstallEnter);
const Scenario s4("host_close_box", &HostCloseBox);

}  // namespace
