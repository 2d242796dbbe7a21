// How uninstall.exe reads its command line (WinMain's lpCmdLine), kept free of
// Win32 so that it is tested anywhere.
#pragma once

#include <string>

namespace qz {

enum class UninstallMode {
    kInteractive,    // no argument: the question, the window, the final message
    kSilent,         // "/S" alone (any letter case): no window, the exit code
    kWorkingCopy,    // kUninstallCopyOption alone: the copy started by the above
    kUnknownOption,  // anything else: nothing is done
};

// Spaces around the one argument are ignored.
UninstallMode ParseUninstallCommandLine(const std::string& command_line);

}  // namespace qz
