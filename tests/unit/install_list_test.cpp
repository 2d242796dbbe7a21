#include "uninstall/install_list.h"

#include <gtest/gtest.h>

#include <string>

#include "common/constants.h"

#include <string>

namespace qz::test {
namespace {

const char kDir[] = "C:\\Program Files\\Qorvane\\";

struct ListCase {
    std::string bytes;
    ListStatus status;
    std::size_t bad_line;  // 0: none
    NameCheck name;
};

TEST(InstallList, ReadsTheInstallersLinesAndRefusesEverythingElse) {
    const std::string long_name(kNameSize, 'a');
    const ListCase cases[] = {
        {"", ListStatus::kOk, 0, NameCheck::kOk},
        {"[FILE] ravik.exe\r\n[FILE] data\\pendrel.exe\r\n", ListStatus::kOk, 0, NameCheck::kOk},
        {"[FILE] \x81\x5c\\x.txt\r\n", ListStatus::kOk, 0, NameCheck::kOk},  // 乗\x.txt
        {"[FILE] ravik.exe", ListStatus::kBadLine, 1, NameCheck::kOk},
        {"[FILE] ravik.exe\n", ListStatus::kBadLine, 1, NameCheck::kOk},
        {"[FILE] a\r\nravik.exe\r\n", ListStatus::kBadLine, 2, NameCheck::kOk},
        {"[file] ravik.exe\r\n", ListStatus::kBadLine, 1, NameCheck::kOk},
        {"[FILE]ravik.exe\r\n", ListStatus::kBadLine, 1, NameCheck::kOk},
        {"\r\n", ListStatus::kBadLine, 1, NameCheck::kOk},
        {std::string("[FILE] a\0b\r\n", 12), ListStatus::kBadLine, 1, NameCheck::kOk},
        {"[FILE] a\r\n[FILE] ..\\..\\sentinel.txt\r\n", ListStatus::kBadName, 2,
         NameCheck::kDotOrSpaceEnd},
        {"[FILE] C:\\sentinel.txt\r\n", ListStatus::kBadName, 1, NameCheck::kColon},
        {"[FILE] \\\\?\\C:\\x\r\n", ListStatus::kBadName, 1, NameCheck::kLeadingSeparator},
        {"[FILE] a:b\r\n", ListStatus::kBadName, 1, NameCheck::kColon},
        {"[FILE] CON\r\n", ListStatus::kBadName, 1, NameCheck::kDeviceName},
        {"[FILE] data\\nul.txt\r\n", ListStatus::kBadName, 1, NameCheck::kDeviceName},
        {"[FILE] install.log\r\n", ListStatus::kBadName, 1, NameCheck::kInstallLog},
        {"[FILE] \r\n", ListStatus::kBadName, 1, NameCheck::kEmpty},
        {"[FILE] a\rb\r\n", ListStatus::kBadName, 1, NameCheck::kControlByte},
        {"[FILE] a/b\r\n", ListStatus::kBadName, 1, NameCheck::kForwardSlash},
        {"[FILE] " + long_name + "\r\n", ListStatus::kBadName, 1, NameCheck::kUnterminated},
        // 25 bytes of directory and 235 of name: 260, one more than a path holds.
        {"[FILE] " + std::string(235, 'b') + "\r\n", ListStatus::kNoRoom, 1, NameCheck::kOk},
    };
    for (const ListCase& c : cases) {
        const InstallList list = ParseInstallList(c.bytes, kDir, kGbkNames, kMaxPath - 1);
        EXPECT_EQ(list.status, c.status) << c.bytes;
        EXPECT_EQ(list.bad_line, c.bad_line) << c.bytes;
        EXPECT_EQ(list.name, c.name) << c.bytes;
    }
}

TEST(InstallList, KeepsTheNamesInOrderAsTheyStand) {
    const InstallList list =
        ParseInstallList("[FILE] ravik.exe\r\n[FILE] \x81\x5c\\x.txt\r\n[FILE] RAVIK.exe\r\n", kDir,
                         kGbkNames, kMaxPath - 1);
    ASSERT_EQ(list.status, ListStatus::kOk);
    const std::vector<std::string> expected{"ravik.exe", "\x81\x5c\\x.txt", "RAVIK.exe"};
    EXPECT_EQ(list.names, expected);
    // 234 bytes of name: exactly 259 with the directory.
    EXPECT_EQ(
        ParseInstallList("[FILE] " + std::string(234, 'b') + "\r\n", kDir, kGbkNames, kMaxPath - 1)
            .status,
        ListStatus::kOk);
    EXPECT_EQ(ListLine("data\\x.txt"), "[FILE] data\\x.txt\r\n");
}

}  // namespace
}  // namespace qz::test
