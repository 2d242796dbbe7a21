#include "robot/uninstaller.h"

#include "common/texts.h"
#include "robot/expected_texts.h"
#include "robot/screenshot.h"
#include "robot/shortcut_checks.h"
#include "robot/system_state.h"
#include "robot/files.h"
#include "robot/report.h"
#include "robot/ui.h"

namespace robot {

const char kUninstallerAppName[] = "uninstall";

std::string UninstallerProgram() {
    return RequiredPathEnv("QZ_UNINSTALL_EXE");
}

bool WaitUninstallersGone(DWORD ms) {
    return WaitUntil(
        [] {
            const HANDLE running = ::OpenMutexA(SYNCHRONIZE, FALSE, qz::kUninstallMutexName);
            if (running == nullptr) {
                return true;
            }
            ::CloseHandle(running);
            return false;
        },
        ms);
}

DWORD RunUninstaller(const std::string& exe, const std::string& arguments,
                     const std::string& startDir, bool alone) {
    Step(exe + " " + arguments);
    Process process;
    Require(process.Start(exe, arguments, startDir), "uninstall.exe starts");
    std::string shown;
    const DWORD start = ::GetTickCount();
    while (!process.WaitExit(5)) {
        for (HWND hwnd : TopLevelWindows(process.Id())) {
            if (IsShown(hwnd) || ClassNameOf(hwnd) == "#32770")
                shown += " [" + WindowText(hwnd) + "]";
        }
        Require(::GetTickCount() - start < 60000, "the uninstaller ends within a minute");
    }
    CheckEqual(shown, "", "no window of the uninstaller appeared");
    if (!alone)
        Check(WaitUninstallersGone(), "its working copy ends too");
    return process.ExitCode();
}

namespace {

struct DialogSearch {
    const std::string* caption;
    int control;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    if (::IsWindowVisible(hwnd) && ClassNameOf(hwnd) == "#32770" &&
        WindowText(hwnd) == *search->caption &&
        (search->control == 0 || ::GetDlgItem(hwnd, search->control) != nullptr)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitAnyDialog(const std::string& caption, int controlId, DWORD ms) {
    DialogSearch search{&caption, controlId, nullptr};
    WaitUntil(
        [&] {
            search.found = nullptr;
            ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        ms);
    return search.found;
}

void UninstallByShortcut(const std::string& installDir, const std::wstring& last,
                         const std::string& shots) {
    const Shortcut link = ReadShortcut(ProgramsUninstallLink());
    Require(link.loaded, "the 卸载 shortcut is there");
    CheckEqual(link.target, installDir + "uninstall.exe", "the 卸载 shortcut's target");
    Process process;
    Require(process.Start(link.target, "", link.workingDirectory), "uninstall.exe starts");
    HWND question = WaitMessageBox(process.Id(), kUninstallerAppName, Buttons::kYesNo);
    Require(question != nullptr, "the uninstaller asks first");
    Check(WideMessageBoxText(question) == kUninstallQuestionWide, "the question's text");
    if (!shots.empty())
        Screenshot(shots + "-question");
    Click(question, IDYES);
    // The last message has the question's caption: the question must be gone
    // before it is looked for.
    Require(WaitGone(question), "the question closes when answered");
    HWND done = WaitAnyDialog(kUninstallerAppName, 0xFFFF, 60000);
    Require(done != nullptr, "the uninstaller's last message appears");
    const std::wstring text = WideMessageBoxText(done);
    Check(text.compare(0, last.size(), last) == 0, "the last message says how it ended");
    if (!shots.empty())
        Screenshot(shots + "-done");
    Click(done, IDOK);
    Check(process.WaitExit(30000), "the uninstaller that was started ends");
    Check(WaitUninstallersGone(), "its working copy ends");
}

}  // namespace robot
