// How uninstall.exe reads its command line (WinMain's lpCmdLine), kept free of
// Win32 so that it is tested anywhere.
#pragma once

#include <string>

namespace qz {

enum class UninstallMode {
    kInteractive,    // no argument: the question, the window, the final message
    kSilent,         // "/S" (any letter case): no window, the exit code
    kWorkingCopy,    // kUninstallCopyOption alone: the copy started by the above
    kUnknownOption,  // anything else: nothing is done
};

struct UninstallRequest {
    UninstallMode mode = UninstallMode::kInteractive;
    // With kSilent: true when /LOG= named a log file, which is then `log`.
    bool has_log = false;
    std::string log;
};

// "/S" may be followed by "/LOG=FILE" (the name in any letter case), its
// value quoted or not as the installer takes it ("/LOG=C:\a b\x.log" and
// /LOG="C:\a b\x.log" give C:\a b\x.log); nothing else may follow. Blanks
// around the arguments are ignored.
UninstallRequest ParseUninstallCommandLine(const std::string& command_line);

}  // namespace qz
