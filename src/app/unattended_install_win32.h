// The unattended installation (Install.exe /S [/D=DIR]): the wizard's effects
// with its answers given (licence accepted, directory confirmed, no program
// started), without a window.
#pragma once

#include "app/unattended_rules.h"

namespace qz {

// Installs as `request` says and returns the exit code (UnattendedExit).
// The install directory is DIR with its trailing backslash, or the directory
// page's proposal; an invalid one ends here (kExitInvalidDirectory), as does
// kUnknownOption (kExitUnknownOption), before anything is written. Every
// other outcome writes the registry record as the finish page does. Throws
// nothing.
int RunUnattendedInstall(const UnattendedRequest& request) noexcept;

}  // namespace qz
