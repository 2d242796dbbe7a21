// The uninstaller that the user (or a script) started: it cannot delete its own
// running file, so it copies itself into a fresh folder of random name under
// the temporary folder, starts that copy with the install directory handed
// over through a pipe, and waits for the copy's outcome.
#pragma once

#include <windows.h>

#include <string>

namespace qz {

// Runs the removal of `install_dir` (ends with a backslash) in a working
// copy; `silent` for /S. The copy's file is held open without write or delete
// sharing until the copy has started. Returns the copy's outcome (an
// UninstallExit), or kUninstallNoWorkingCopy when it could not be made or
// started (nothing is removed then, and the copy's folder goes again).
// `log` (null: none) is the /LOG= file, handed on to the copy, which writes
// its events and, once this process has ended, its exit code: *log_handed
// tells whether the copy took it over, else the exit code is this process's
// to write.
int RunInWorkingCopy(const std::string& install_dir, bool silent, HANDLE log, bool* log_handed);

}  // namespace qz
