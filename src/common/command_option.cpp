#include "common/command_option.h"

namespace qz {
namespace {

// True when what follows a closing quote at `at` ends the option.
bool EndsOption(const std::string& text, std::size_t at, bool to_end) {
    if (to_end) {
        return SkipCommandBlanks(text, at) == text.size();
    }
    return at == text.size() || IsCommandBlank(text[at]);
}

}  // namespace

bool IsCommandBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t SkipCommandBlanks(const std::string& text, std::size_t at) {
    while (at < text.size() && IsCommandBlank(text[at])) {
        ++at;
    }
    return at;
}

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

std::size_t ReadCommandOption(const std::string& text, std::size_t at, const char* name,
                              bool to_end, std::string* value) {
    const std::size_t name_length = std::char_traits<char>::length(name);
    if (at < text.size() && text[at] == '"' && StartsWithOption(text, at + 1, name)) {
        const std::size_t from = at + 1 + name_length;
        const std::size_t close = text.find('"', from);
        if (close == std::string::npos || !EndsOption(text, close + 1, to_end)) {
            return std::string::npos;
        }
        *value = text.substr(from, close - from);
        return close + 1;
    }
    if (!StartsWithOption(text, at, name)) {
        return std::string::npos;
    }
    const std::size_t from = at + name_length;
    if (from < text.size() && text[from] == '"') {
        const std::size_t close = text.find('"', from + 1);
        if (close != std::string::npos && EndsOption(text, close + 1, to_end)) {
            *value = text.substr(from + 1, close - from - 1);
            return close + 1;
        }
    }
    // Unquoted, or a quote that does not close the option: the bytes as they stand.
    std::size_t end = from;
    while (end < text.size() && (to_end || !IsCommandBlank(text[end]))) {
        ++end;
    }
    *value = text.substr(from, end - from);
    return end;
}

}  // namespace qz
