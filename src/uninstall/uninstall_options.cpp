#include "uninstall/uninstall_options.h"

#include "common/command_option.h"
#include "common/texts.h"

namespace qz {

UninstallRequest ParseUninstallCommandLine(const std::string& command_line) {
    UninstallRequest request;
    std::size_t at = SkipCommandBlanks(command_line, 0);
    if (at == command_line.size()) {
        return request;
    }
    const std::size_t last = command_line.find_last_not_of(" \t");
    if (command_line.compare(at, last + 1 - at, kUninstallCopyOption) == 0) {
        request.mode = UninstallMode::kWorkingCopy;
        return request;
    }
    request.mode = UninstallMode::kUnknownOption;
    if (!StartsWithOption(command_line, at, "/S") ||
        (at + 2 < command_line.size() && !IsCommandBlank(command_line[at + 2]))) {
        return request;
    }
    at = SkipCommandBlanks(command_line, at + 2);
    if (at < command_line.size()) {
        const std::size_t end = ReadCommandOption(command_line, at, "/LOG=", false, &request.log);
        if (end == std::string::npos ||
            SkipCommandBlanks(command_line, end) != command_line.size()) {
            request.log.clear();
            return request;
        }
        request.has_log = true;
    }
    request.mode = UninstallMode::kSilent;
    return request;
}

}  // namespace qz
