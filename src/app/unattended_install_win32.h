// The unattended installation (Install.exe /S [/D=DIR]): the wizard's effects
// with its answers given (licence accepted, directory confirmed, no program
// started), without a window.
#pragma once

#include "app/unattended_rules.h"

namespace qz {

// Installs as `request` says and returns the exit code (UnattendedExit).
// kUnknownOption ends at once (kExitUnknownOption). With /LOG= the log is
// created first, taken from the start directory when relative, and one that
// cannot be created ends the run (kExitLogFailed) with nothing else done;
// the log then names the command line, the install directory, every folder,
// file, shortcut and registry value written, each failure, and last the exit
// code. The install directory is DIR with its trailing backslash, or the
// directory page's proposal; an invalid one ends here
// (kExitInvalidDirectory), before anything is written. Every other outcome
// writes the registry record as the finish page does. Throws nothing.
int RunUnattendedInstall(const UnattendedRequest& request) noexcept;

}  // namespace qz
