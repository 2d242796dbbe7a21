// Running the product's uninstall.exe from an installation, as a script runs
// it (/S) or as the Start menu's 卸载 shortcut starts it (its target in its
// working directory), and waiting until its working copy has finished too.
#pragma once

#include <windows.h>

#include <string>

#include "robot/process.h"

namespace robot {

// The uninstall.exe of the build under test (QZ_UNINSTALL_EXE).
std::string UninstallerProgram();

// True once no uninstaller runs any more (the object each holds is gone),
// within `ms`.
bool WaitUninstallersGone(DWORD ms = 60000);

// Runs `exe` with `arguments` in `startDir`, waits for it and (unless
// `alone`: the robot holds the uninstallers' object itself) for its working
// copy, and returns its exit code; ends the scenario when it does not end
// within a minute or shows a window.
DWORD RunUninstaller(const std::string& exe, const std::string& arguments,
                     const std::string& startDir, bool alone = false);

// A visible dialog of any process with exactly `caption` (GBK bytes) holding
// a control `controlId` (0: any); null after `ms`.
HWND WaitAnyDialog(const std::string& caption, int controlId, DWORD ms = 15000);

// The removal as the 卸载 shortcut starts it: its target (which must be
// `installDir`'s uninstall.exe) in its working directory, Yes to the question,
// OK to the last message, which must begin with `last`. With `shots`, the
// question and the last message are saved as screenshots named after it.
void UninstallByShortcut(const std::string& installDir, const std::wstring& last,
                         const std::string& shots = "");

// The caption of the uninstaller's message boxes: its base name.
extern const char kUninstallerAppName[];  // "uninstall"

}  // namespace robot
