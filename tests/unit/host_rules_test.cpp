// The host dialog's arithmetic: which system commands open the About box, and
// where a minimised host draws its icon; and the application name that
// captions the program's message boxes.
#include <gtest/gtest.h>

#include "app/host_rules.h"
#include "common/app_name.h"

namespace {

TEST(AboutCommand, LowFourBitsAreIgnored) {
    for (unsigned int id = 0x0010; id <= 0x001F; ++id) {
        EXPECT_TRUE(qz::IsAboutCommand(id)) << std::hex << id;
    }
}

TEST(AboutCommand, StandardCommandsDoNotOpenIt) {
    const unsigned int others[] = {
        0xF060,  // SC_CLOSE
        0xF020,  // SC_MINIMIZE
        0xF030,  // SC_MAXIMIZE
        0xF120,  // SC_RESTORE
        0xF010,  // SC_MOVE
        0xF000,  // SC_SIZE
        0xF100,  // SC_KEYMENU
        0x0000,  // below the About item
        0x0020,  // the next item up
        0x0110,  // the About id with a higher bit set
    };
    for (unsigned int id : others) {
        EXPECT_FALSE(qz::IsAboutCommand(id)) << std::hex << id;
    }
}

TEST(MinimisedIcon, IsCentredInTheClientArea) {
    struct Case {
        int width, height, icon_width, icon_height, x, y;
    };
    const Case cases[] = {
        {36, 36, 32, 32, 2, 2},     // (36 - 32 + 1) / 2 = 2
        {30, 30, 32, 32, 0, 0},     // (30 - 32 + 1) / 2 = -1 / 2, truncated toward zero
        {160, 24, 32, 32, 64, -3},  // (24 - 32 + 1) / 2 = -7 / 2 = -3
        {0, 0, 32, 32, -15, -15},   // (0 - 32 + 1) / 2 = -31 / 2 = -15
        {33, 33, 32, 32, 1, 1},     // odd remainder rounds up
    };
    for (const Case& c : cases) {
        const qz::IconOrigin origin =
            qz::CentreIcon(c.width, c.height, c.icon_width, c.icon_height);
        EXPECT_EQ(origin.x, c.x) << c.width << "x" << c.height;
        EXPECT_EQ(origin.y, c.y) << c.width << "x" << c.height;
    }
}

TEST(AppName, IsTheFileNameWithoutItsExtension) {
    // The Western code page 1252: every byte is a character of its own.
    constexpr qz::LeadByteTest kCp1252 = [](unsigned char) { return false; };
    struct Case {
        const char* what;
        std::string path;
        std::string name;
        qz::LeadByteTest isLead = qz::IsGbkLeadByte;
    };
    const Case cases[] = {
        {"plain", "C:\\Setup\\Install.exe", "Install"},
        {"only the last extension", "C:\\Setup\\Install.v2.exe", "Install.v2"},
        {"a dot in a folder only", "C:\\Set.up\\Install", "Install"},
        {"slash and colon end a folder too", "C:/Setup/Install.exe", "Install"},
        {"no folder", "Install.exe", "Install"},
        {"empty", "", ""},
        // 安装乗.exe: B0 B2 D7 B0 81 5C 2E ...; the 5C closes 乗, it is no separator.
        {"trail byte 5C", "C:\\\xb0\xb2\xd7\xb0\x81\x5c.exe", "\xb0\xb2\xd7\xb0\x81\x5c"},
        // 嘰 = 87 5C as a folder: its 5C is not the last separator either.
        {"trail byte 5C in a folder", "C:\\\x87\x5c\\Install.exe", "Install"},
        // In 1252 the same bytes are two characters, the second a separator.
        {"1252: 81 5C", "C:\\\xb0\xb2\xd7\xb0\x81\x5c.exe", "", kCp1252},
        // Installé\Setup é.exe: E9 (é) is a whole character in 1252, while GBK
        // would take E9 5C for one character.
        {"1252: é before a separator", "C:\\Install\xe9\\Setup \xe9.exe", "Setup \xe9", kCp1252},
        {"GBK: E9 5C is one character", "C:\\x\xe9\\Setup.exe", "x\xe9\\Setup"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qz::AppNameFromModulePath(c.path, c.isLead), c.name) << c.what;
    }
}

}  // namespace
