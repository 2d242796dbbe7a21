#include "app/unattended_rules.h"

#include <string>

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

// True when what follows a closing quote at `at` ends the option: the end of
// the line or a blank, or for the last option (`toEnd`) nothing but blanks.
bool EndsOption(const std::string& text, std::size_t at, bool toEnd) {
    if (toEnd) {
        return SkipBlanks(text, at) == text.size();
    }
    return at == text.size() || IsBlank(text[at]);
}

// Reads the option `name` ("/D=", with its '=') starting at `at`, in any of
// its three forms: NAME"VALUE" or "NAMEVALUE" (the quotes are not part of the
// value), or NAMEVALUE, which ends at the next blank, or with `toEnd` at the
// end of the line. A quote cannot be the second byte of a double-byte
// character, so the line is searched for quotes byte by byte. Returns where
// the option ends and stores its value, or npos when no such option starts
// at `at` (the value is then left alone).
std::size_t ReadOption(const std::string& text, std::size_t at, const char* name, bool toEnd,
                       std::string* value) {
    const std::size_t nameLength = std::char_traits<char>::length(name);
    if (at < text.size() && text[at] == '"' && StartsWithOption(text, at + 1, name)) {
        const std::size_t from = at + 1 + nameLength;
        const std::size_t close = text.find('"', from);
        if (close == std::string::npos || !EndsOption(text, close + 1, toEnd)) {
            return std::string::npos;
        }
        *value = text.substr(from, close - from);
        return close + 1;
    }
    if (!StartsWithOption(text, at, name)) {
        return std::string::npos;
    }
    const std::size_t from = at + nameLength;
    if (from < text.size() && text[from] == '"') {
        const std::size_t close = text.find('"', from + 1);
        if (close != std::string::npos && EndsOption(text, close + 1, toEnd)) {
            *value = text.substr(from + 1, close - from - 1);
            return close + 1;
        }
    }
    // Unquoted, or a quote that does not close the option: the bytes as they stand.
    std::size_t end = from;
    while (end < text.size() && (toEnd || !IsBlank(text[end]))) {
        ++end;
    }
    *value = text.substr(from, end - from);
    return end;
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
    const std::size_t logEnd = ReadOption(commandLine, at, "/LOG=", false, &request.log);
    if (logEnd != std::string::npos) {
        request.hasLog = true;
        at = SkipBlanks(commandLine, logEnd);
    }
    if (at == commandLine.size()) {
        return request;
    }
    if (ReadOption(commandLine, at, "/D=", true, &request.dir) == std::string::npos) {
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
