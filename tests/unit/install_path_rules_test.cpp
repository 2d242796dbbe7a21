#include "common/install_path_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/constants.h"

namespace {

// GBK characters whose second (trail) byte is 0x5C, the backslash's value.
#define QZ_JOU \
    "\x81"     \
    "\x5C"  // 乗: lead 81, trail 5C
#define QZ_JI \
    "\x87"    \
    "\x5C"  // 嘰: lead 87, trail 5C

// The Western code page 1252: every byte is a character of its own, so 5C is
// always a separator and E9 (é), a GBK lead byte, is a whole character.
constexpr qz::LeadByteTest kCp1252 = [](unsigned char) { return false; };
// Société in 1252: 53 6F 63 69 E9 74 E9.
#define QZ_SOCIETE "Soci\xe9t\xe9"

struct RuleCase {
    const char* what;
    std::string input;
    std::string expected;
    qz::LeadByteTest isLead = qz::IsGbkLeadByte;
};

TEST(InstallPathRulesTest, ProductFolderRule) {
    const RuleCase cases[] = {
        {"ProgramFiles", "C:\\Program Files", "C:\\Program Files\\Qorvane\\"},
        {"drive without root", "C:", "C:\\Qorvane\\"},
        {"drive root", "D:\\", "D:\\Qorvane\\"},
        {"browsed drive root", "E:\\", "E:\\Qorvane\\"},
        {"browsed folder", "C:\\Apps", "C:\\Apps\\Qorvane\\"},
        {"folder already named Qorvane", "C:\\Games\\Qorvane", "C:\\Games\\Qorvane\\Qorvane\\"},
        {"separator kept, not doubled", "C:\\Apps\\", "C:\\Apps\\Qorvane\\"},
        // 43 3A 5C 81 5C: the last byte is a trail byte, not a separator.
        {"ends in 乗", "C:\\" QZ_JOU, "C:\\" QZ_JOU "\\Qorvane\\"},
        {"ends in 嘰", "C:\\" QZ_JI, "C:\\" QZ_JI "\\Qorvane\\"},
        // ... 81 5C 5C: the character, then a real separator.
        {"乗 then separator", "C:\\" QZ_JOU "\\", "C:\\" QZ_JOU "\\Qorvane\\"},
        // 5C 5C 81 5C 5C 5C: two separators after the character; the last is one.
        {"乗 between separators", "C:\\\\" QZ_JOU "\\\\", "C:\\\\" QZ_JOU "\\\\Qorvane\\"},
        // ... 74 E9: é is a whole character in 1252; one separator is added.
        {"1252: ends in é", "C:\\" QZ_SOCIETE, "C:\\" QZ_SOCIETE "\\Qorvane\\", kCp1252},
        // ... E9 5C: é, then a separator that is kept, not doubled.
        {"1252: é then separator", "C:\\" QZ_SOCIETE "\\", "C:\\" QZ_SOCIETE "\\Qorvane\\",
         kCp1252},
        // 43 3A 5C 81 5C: in 1252 the 5C after 81 is a separator of its own.
        {"1252: 81 5C", "C:\\" QZ_JOU, "C:\\" QZ_JOU "Qorvane\\", kCp1252},
    };
    for (const RuleCase& c : cases) {
        EXPECT_EQ(qz::AppendProductFolder(c.input, c.isLead), c.expected) << c.what;
    }
}

TEST(InstallPathRulesTest, ValidationLooksOnlyAtLengthAndColon) {
    struct Case {
        const char* what;
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {"empty", "", false},
        {"drive alone", "C:", false},
        {"shortest valid", "C:x", true},
        {"drive root", "C:\\", true},
        {"network path", "\\\\server\\share", false},
        {"leading space", " C:\\Apps", false},
        {"first byte not tested", "1:x", true},
        {"drive-relative", "D:Apps", true},
        {"trailing space", "C:\\Games\\Qorvane ", true},
        {"colon third", "CC:\\", false},
        // 81 5C 3A 5C: 乗 then ":\"; the second byte is 5C, not ':'.
        {"乗 first", QZ_JOU ":\\", false},
        {"乗 at the end", "C:\\" QZ_JOU, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qz::IsValidInstallPath(c.text), c.valid) << c.what;
    }
}

TEST(InstallPathRulesTest, ConfirmedPathGetsOneSeparator) {
    const RuleCase cases[] = {
        {"first byte not tested", "1:x", "1:x\\"},
        {"drive-relative", "D:Apps", "D:Apps\\"},
        {"drive root unchanged, no product folder", "C:\\", "C:\\"},
        {"typed folder", "C:\\Games\\Qorvane", "C:\\Games\\Qorvane\\"},
        {"trailing space kept", "C:\\Games\\Qorvane ", "C:\\Games\\Qorvane \\"},
        {"doubled separator kept", "C:\\Apps\\\\", "C:\\Apps\\\\"},
        // 43 3A 5C 81 5C: ends with a character, not a separator.
        {"ends in 乗", "C:\\" QZ_JOU, "C:\\" QZ_JOU "\\"},
        {"乗 then separator", "C:\\" QZ_JOU "\\", "C:\\" QZ_JOU "\\"},
        // 43 3A 5C 81: a lone lead byte at the end takes the first backslash as
        // its trail byte (81 5C is 乗), so a second one is needed.
        {"lone lead byte", "C:\\\x81", "C:\\\x81\\\\"},
        // 1252 has no lead bytes: the last byte 81 or E9 is a whole character.
        {"1252: ends in 81", "C:\\\x81", "C:\\\x81\\", kCp1252},
        // C:\Logiciels à\Société: à = E0 right before a separator, é = E9 last.
        {"1252: ends in é", "C:\\Logiciels \xe0\\" QZ_SOCIETE,
         "C:\\Logiciels \xe0\\" QZ_SOCIETE "\\", kCp1252},
        {"1252: ends in a separator", "C:\\" QZ_SOCIETE "\\", "C:\\" QZ_SOCIETE "\\", kCp1252},
    };
    for (const RuleCase& c : cases) {
        const std::string confirmed = qz::WithTrailingSeparator(c.input, c.isLead);
        EXPECT_EQ(confirmed, c.expected) << c.what;
        EXPECT_TRUE(qz::EndsWithSeparator(confirmed, c.isLead)) << c.what;
    }
}

// A 300-byte buffer as GetEnvironmentVariableA leaves it: `contents` copied to
// its start, every other byte `fill`.
std::vector<char> EnvBuffer(const std::string& contents, char fill) {
    std::vector<char> buffer(qz::kDefaultPathBufferSize, fill);
    std::memcpy(buffer.data(), contents.data(), contents.size());
    return buffer;
}

TEST(InstallPathRulesTest, DefaultDirectoryFromProgramFiles) {
    const std::string fallback = "C:\\Qorvane\\";
    // "\Qorvane\" is 9 bytes: a 290-byte value makes a 299-byte result, the
    // most that fits with the terminating zero; 291 bytes is one too many.
    const std::string fits(290, 'a');
    const std::string tooLong(291, 'a');
    struct Case {
        const char* what;
        std::vector<char> buffer;
        std::uint32_t returned;
        std::string expected;
        qz::LeadByteTest isLead = qz::IsGbkLeadByte;
    };
    const Case cases[] = {
        {"set", EnvBuffer(std::string("C:\\Program Files") + '\0', '\0'), 16,
         "C:\\Program Files\\Qorvane\\"},
        {"unset", EnvBuffer("", '\0'), 0, fallback},
        {"unset, buffer not cleared", EnvBuffer("X:\\junk", '\0'), 0, fallback},
        {"drive root", EnvBuffer(std::string("D:\\") + '\0', '\0'), 3, "D:\\Qorvane\\"},
        {"set but empty", EnvBuffer(std::string(1, '\0'), 'z'), 0, fallback},
        // The value needs 301 bytes: the call returns that and the buffer holds
        // 300 bytes of garbage without a terminating zero.
        {"value larger than the buffer", EnvBuffer("", 'A'), 301, fallback},
        {"returned length not terminated", EnvBuffer("C:\\Apps", 'B'), 7, fallback},
        {"value fills the buffer", EnvBuffer(std::string(299, 'a') + '\0', '\0'), 299, fallback},
        {"result just fits", EnvBuffer(fits + '\0', '\0'), 290, fits + "\\Qorvane\\"},
        {"no room for the product folder", EnvBuffer(tooLong + '\0', '\0'), 291, fallback},
        // 43 3A 5C 81 5C 00: ends in 乗, whose trail byte is not a separator.
        {"ends in 乗", EnvBuffer(std::string("C:\\" QZ_JOU) + '\0', '\0'), 5,
         "C:\\" QZ_JOU "\\Qorvane\\"},
        // 44 3A 5C ... 20 E9 00: in 1252 the final é is a whole character.
        {"1252: ends in é", EnvBuffer(std::string("D:\\Logiciels \xe9") + '\0', '\0'), 14,
         "D:\\Logiciels \xe9\\Qorvane\\", kCp1252},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qz::DefaultInstallDir(c.buffer.data(), c.buffer.size(), c.returned, c.isLead),
                  c.expected)
            << c.what;
    }
}

TEST(InstallPathRulesTest, ConfirmationShowsThePathVerbatim) {
    const std::string longPath = "C:\\" + std::string(3000, 'x') + "\\";
    const RuleCase cases[] = {
        {"default", "C:\\Program Files\\Qorvane\\",
         "请确认安装路径:\n\nC:\\Program Files\\Qorvane\\"},
        {"percent signs are not directives", "C:\\100%s%d%n\\",
         "请确认安装路径:\n\nC:\\100%s%d%n\\"},
        {"no length limit", longPath, "请确认安装路径:\n\n" + longPath},
    };
    for (const RuleCase& c : cases) {
        const qz::ConfirmPathText text = qz::ConfirmPathMessage(c.input);
        EXPECT_EQ(text.before + text.path + text.after, c.expected) << c.what;
        // The path is a piece of its own, in the code page it came in.
        EXPECT_EQ(text.path, c.input) << c.what;
        EXPECT_EQ(text.before, "请确认安装路径:\n\n") << c.what;
    }
}

TEST(InstallPathRulesTest, DirectoryOfCutsAfterTheLastSeparator) {
    const RuleCase cases[] = {
        {"executable", "C:\\Setup\\Install.exe", "C:\\Setup\\"},
        {"no separator", "Install.exe", ""},
        {"empty", "", ""},
        {"network share", "\\\\server\\share\\Install.exe", "\\\\server\\share\\"},
        // 43 3A 5C 81 5C 2E ...: the 5C inside 乗 is not the last separator.
        {"乗 in the file name", "C:\\" QZ_JOU ".exe", "C:\\"},
        {"乗 as the folder", "C:\\" QZ_JOU "\\Install.exe", "C:\\" QZ_JOU "\\"},
        // ... 20 E9 5C 49 ...: GBK reads E9 5C as one character, 1252 as é and
        // the separator.
        {"GBK: E9 5C is a character", "C:\\Setup \xe9\\Install.exe", "C:\\"},
        {"1252: é before the separator", "C:\\Setup \xe9\\Install.exe", "C:\\Setup \xe9\\",
         kCp1252},
        {"1252: 81 5C ends a level", "C:\\" QZ_JOU ".exe", "C:\\\x81\\", kCp1252},
    };
    for (const RuleCase& c : cases) {
        EXPECT_EQ(qz::DirectoryOf(c.input, c.isLead), c.expected) << c.what;
    }
}

}  // namespace
