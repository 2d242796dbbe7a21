#include "app/unattended_rules.h"

#include <string>

#include "common/command_option.h"
#include "engine/extractor.h"

namespace qz {

UnattendedRequest ParseCommandLine(const std::string& commandLine) {
    UnattendedRequest request;
    std::size_t at = SkipCommandBlanks(commandLine, 0);
    // The first argument must be exactly /S: "/Silent" or "/S=1" are not it.
    if (!StartsWithOption(commandLine, at, "/S") ||
        (at + 2 < commandLine.size() && !IsCommandBlank(commandLine[at + 2]))) {
        return request;
    }
    request.mode = UnattendedRequest::kInstall;
    at = SkipCommandBlanks(commandLine, at + 2);
    const std::size_t logEnd = ReadCommandOption(commandLine, at, "/LOG=", false, &request.log);
    if (logEnd != std::string::npos) {
        request.hasLog = true;
        at = SkipCommandBlanks(commandLine, logEnd);
    }
    if (at == commandLine.size()) {
        return request;
    }
    if (ReadCommandOption(commandLine, at, "/D=", true, &request.dir) == std::string::npos) {
        UnattendedRequest unknown;
        unknown.mode = UnattendedRequest::kUnknownOption;
        return unknown;
    }
    request.hasDir = true;
    return request;
}

int UnattendedExitCode(ExtractResult extractResult, bool runningCopySeen) {
    switch (extractResult) {
        case kExtractOk:
            return kExitInstalled;
        case kExtractAbandoned:
            return runningCopySeen ? kExitRunningCopy : kExitNoPackage;
        case kExtractBadPackage:
            return kExitRefusedPackage;
        case kExtractCreateFailed:
            return kExitCreateFailed;
        case kExtractTruncated:
            return kExitTruncated;
    }
    // Only a value outside the enumeration comes here.
    return kExitTruncated;
}

}  // namespace qz
