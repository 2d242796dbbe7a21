#include "support/put_string_cases.h"

namespace qz::test {

namespace {

// `count` copies of the GBK character 装 (lead byte D7, trail byte B0).
std::string Gbk(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "\xD7\xB0";
    }
    return text;
}

}  // namespace

std::vector<PutStringCase> PutStringCases() {
    return {
        {"empty value: one NUL", "", true},
        {"plain text", "1.10", true},
        {"254 bytes: the largest", std::string(254, 'x'), true},
        {"255 bytes", std::string(255, 'x'), false},
        {"2 KiB", std::string(2048, 'x'), false},
        // Double-byte characters count two bytes each.
        {"127 GBK characters: 254 bytes", Gbk(127), true},
        {"127 GBK characters and one byte: 255 bytes", Gbk(127) + "x", false},
        {"128 GBK characters: 256 bytes", Gbk(128), false},
        // A path of the install directory: C:\ then 安装 (B0 B2 D7 B0) then \.
        {"GBK path", "C:\\\xB0\xB2\xD7\xB0\\", true},
    };
}

}  // namespace qz::test
