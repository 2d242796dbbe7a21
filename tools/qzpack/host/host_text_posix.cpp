#include "qzpack/host/host_text.h"

#include <cstdio>

#include "common/dbcs.h"
#include "common/file_system_posix.h"

namespace qz::pack {

std::vector<std::string> CommandLineUtf8(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

bool HostNameToGbk(const std::filesystem::path& level, std::string* gbk) {
    return Utf8ToGbk(level.native(), gbk);
}

std::string GbkForDisplay(const std::string& gbk) {
    bool has_control = false;
    for (char c : gbk) {
        has_control = has_control || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    }
    std::string utf8;
    if (!has_control && GbkToUtf8(gbk, &utf8)) {
        return utf8;
    }
    // Character by character, so that one bad byte spoils only itself and a
    // control byte never reaches the terminal.
    std::string shown;
    for (std::size_t i = 0; i < gbk.size();) {
        const auto c = static_cast<unsigned char>(gbk[i]);
        const std::size_t width = IsGbkLeadByte(c) && i + 1 < gbk.size() ? 2 : 1;
        std::string piece;
        if ((c >= 0x20 && c < 0x7F) || (width == 2 && GbkToUtf8(gbk.substr(i, 2), &piece))) {
            shown += width == 1 ? std::string(1, static_cast<char>(c)) : piece;
            i += width;
            continue;
        }
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\x%02X", c);
        shown += escape;
        ++i;
    }
    return shown;
}

std::string PathForDisplay(const std::filesystem::path& path) {
    return path.native();
}

}  // namespace qz::pack
