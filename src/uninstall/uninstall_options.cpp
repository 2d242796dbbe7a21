#include "uninstall/uninstall_options.h"

#include "common/texts.h"

namespace qz {

UninstallMode ParseUninstallCommandLine(const std::string& command_line) {
    const std::size_t first = command_line.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return UninstallMode::kInteractive;
    }
    const std::size_t last = command_line.find_last_not_of(" \t");
    const std::string argument = command_line.substr(first, last - first + 1);
    if (argument == "/S" || argument == "/s") {
        return UninstallMode::kSilent;
    }
    if (argument == kUninstallCopyOption) {
        return UninstallMode::kWorkingCopy;
    }
    return UninstallMode::kUnknownOption;
}

}  // namespace qz
