#include "common/app_name.h"

namespace qz {

std::string AppNameFromModulePath(const std::string& path, LeadByteTest isLead) {
    std::size_t start = 0;
    std::size_t dot = std::string::npos;
    std::size_t i = 0;
    while (i < path.size()) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (isLead(c)) {
            i += 2;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':') {
            start = i + 1;
            dot = std::string::npos;
        } else if (c == '.') {
            dot = i;
        }
        ++i;
    }
    const std::size_t end = dot == std::string::npos ? path.size() : dot;
    return path.substr(start, end - start);
}

}  // namespace qz
