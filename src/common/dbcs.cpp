#include "common/dbcs.h"

namespace qz {

std::size_t FindBackslash(const std::string& s, std::size_t from, LeadByteTest isLead) {
    // Walk from the start: whether a byte is a trail byte depends on every
    // byte before it.
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (isLead(c)) {
            i += 2;
            continue;
        }
        if (c == '\\' && i >= from) {
            return i;
        }
        ++i;
    }
    return std::string::npos;
}

std::size_t FindLastBackslash(const std::string& s, LeadByteTest isLead) {
    std::size_t last = std::string::npos;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == '\\') {
            last = i;
        }
        i += isLead(c) ? 2 : 1;
    }
    return last;
}

}  // namespace qz
