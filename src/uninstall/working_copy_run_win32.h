// The working copy: started by the uninstaller the user ran, from a private
// folder under the temporary folder, with its standard input and output
// inherited pipes. It learns the install directory from that pipe alone,
// removes the installation (with its window, or silently), reports the
// outcome to the process that started it, waits until that process has
// ended, and then removes uninstall.exe and the install directory when
// empty. Its own file and folder it marks for removal at restart.
#pragma once

namespace qz {

// Returns the outcome (an UninstallExit); kUninstallNoWorkingCopy, having
// changed nothing, when it was not started through the pipes with a
// well-formed handoff.
int RunWorkingCopy();

}  // namespace qz
