#include "app/unattended_rules.h"

#include "engine/extractor.h"

namespace qz {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// True when `text` at `at` starts with the ASCII option `option`, letter case
// ignored.
bool StartsWithOption(const std::string& text, std::size_t at, const char* option) {
    for (std::size_t i = 0; option[i] != '\0'; ++i) {
        if (at + i >= text.size()) {
            return false;
        }
        char c = text[at + i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != option[i]) {
            return false;
        }
    }
    return true;
}

std::size_t SkipBlanks(const std::string& text, std::size_t at) {
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    return at;
}

}  // namespace

UnattendedRequest ParseCommandLine(const std::string& commandLine) {
    UnattendedRequest request;
    std::size_t at = SkipBlanks(commandLine, 0);
    // The first argument must be exactly /S: "/Silent" or "/S=1" are not it.
    if (!StartsWithOption(commandLine, at, "/S") ||
        (at + 2 < commandLine.size() && !IsBlank(commandLine[at + 2]))) {
        return request;
    }
    request.mode = UnattendedRequest::kInstall;
    at = SkipBlanks(commandLine, at + 2);
    if (at == commandLine.size()) {
        return request;
    }
    if (!StartsWithOption(commandLine, at, "/D=")) {
        request.mode = UnattendedRequest::kUnknownOption;
        return request;
    }
    request.hasDir = true;
    request.dir = commandLine.substr(at + 3);
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
