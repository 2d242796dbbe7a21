#include "common/install_path_rules.h"

#include <algorithm>

#include "common/texts.h"

namespace qz {

bool EndsWithSeparator(const std::string& path, LeadByteTest isLead) {
    return !path.empty() && FindLastBackslash(path, isLead) == path.size() - 1;
}

std::string WithTrailingSeparator(const std::string& path, LeadByteTest isLead) {
    std::string result = path;
    // Runs twice only for a text that ends with a lone lead byte: the first
    // backslash becomes that byte's trail byte.
    while (!EndsWithSeparator(result, isLead)) {
        result += '\\';
    }
    return result;
}

std::string AppendProductFolder(const std::string& dir, LeadByteTest isLead) {
    return WithTrailingSeparator(dir, isLead) + kProductName + '\\';
}

bool IsValidInstallPath(const std::string& path) {
    return path.size() > 2 && path[1] == ':';
}

std::string DefaultInstallDir(const char* buffer, std::size_t size, std::uint32_t returned,
                              LeadByteTest isLead) {
    const std::string fallback = AppendProductFolder(kDefaultDriveRoot, isLead);
    // On success the call returns the length stored, without the terminating
    // zero; a value that does not fit returns the size it needs (>= size) and
    // leaves the buffer's contents undefined.
    if (returned == 0 || returned >= size || buffer[returned] != '\0') {
        return fallback;
    }
    const std::string value(buffer, std::find(buffer, buffer + returned, '\0'));
    if (value.empty()) {
        return fallback;
    }
    std::string result = AppendProductFolder(value, isLead);
    return result.size() < size ? result : fallback;
}

ConfirmPathText ConfirmPathMessage(const std::string& path) {
    const std::string format = kMsgConfirmPathFormat;
    const std::size_t slot = format.find("%s");
    if (slot == std::string::npos) {
        return {format, std::string(), std::string()};
    }
    return {format.substr(0, slot), path, format.substr(slot + 2)};
}

std::string DirectoryOf(const std::string& path, LeadByteTest isLead) {
    const std::size_t last = FindLastBackslash(path, isLead);
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

}  // namespace qz
