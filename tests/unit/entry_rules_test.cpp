#include "engine/entry_rules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qz::test {
namespace {

struct NameCase {
    std::string name;  // the bytes before the NUL
    NameCheck expected;
};

std::string repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

NameCheck Check(const std::string& name) {
    char field[kNameSize] = {};
    std::memcpy(field, name.data(), name.size());
    return CheckEntryName(field, sizeof field);
}

TEST(EntryRules, Names) {
    const NameCase cases[] = {
        {"ravik.exe", NameCheck::kOk},
        {"data\\skelmot\\setup.exe", NameCheck::kOk},
        {".hidden\\a..b\\x.y", NameCheck::kOk},
        {"COM10", NameCheck::kOk},
        {"CONX.txt", NameCheck::kOk},
        {"xnul", NameCheck::kOk},
        {"LPT0", NameCheck::kOk},
        {"\x81\x5c", NameCheck::kOk},            // 乗 alone: ends in 5C, yet no separator
        {"\x81\x5c\\\x87\x5c", NameCheck::kOk},  // 乗\嘰
        {"\x87\x5c\x81\x5c.txt", NameCheck::kOk},
        {"\xd6\xd0\xce\xc4\\a", NameCheck::kOk},            // 中文\a
        {std::string(255, 'a') + "\\abc", NameCheck::kOk},  // the longest name, a full level
        // 中 (D6 D0) 128 times: 256 bytes, yet a level of 128 characters.
        {repeat("\xd6\xd0", 128), NameCheck::kOk},
        {"\x81\x7c", NameCheck::kOk},          // 81 7C: the trail byte looks like |
        {"\x81\x3f", NameCheck::kBadGbk},      // 81 3F: ? is no trail byte
        {"sub\\install.log", NameCheck::kOk},  // only the top level holds the log
        {"install.log.txt", NameCheck::kOk},
        {"", NameCheck::kEmpty},
        {"..", NameCheck::kDotOrSpaceEnd},
        {"..\\evil", NameCheck::kDotOrSpaceEnd},
        {"a\\..\\b", NameCheck::kDotOrSpaceEnd},
        {"a\\.", NameCheck::kDotOrSpaceEnd},
        {"name.", NameCheck::kDotOrSpaceEnd},
        {"name ", NameCheck::kDotOrSpaceEnd},
        {"dir \\x", NameCheck::kDotOrSpaceEnd},
        {"\x81\x5c.", NameCheck::kDotOrSpaceEnd},  // 乗.
        {"a/b", NameCheck::kForwardSlash},
        {"../x", NameCheck::kForwardSlash},
        {"\x81/", NameCheck::kBadGbk},  // 81 2F: '/' is no trail byte
        {"C:\\x", NameCheck::kColon},
        {"c:x", NameCheck::kColon},
        {"a.txt:stream", NameCheck::kColon},
        {"\\x", NameCheck::kLeadingSeparator},
        {"\\\\server\\share\\x", NameCheck::kLeadingSeparator},
        {"a\\", NameCheck::kTrailingSeparator},
        {"\x81\x5c\\", NameCheck::kTrailingSeparator},  // 乗 then a real backslash
        {"a\\\\b", NameCheck::kEmptyLevel},
        {"CON", NameCheck::kDeviceName},
        {"con", NameCheck::kDeviceName},
        {"nul.txt", NameCheck::kDeviceName},
        {"a\\NuL.tar.gz", NameCheck::kDeviceName},
        {"Aux\\x", NameCheck::kDeviceName},
        {"prn", NameCheck::kDeviceName},
        {"com1", NameCheck::kDeviceName},
        {"COM9.log", NameCheck::kDeviceName},
        {"lpt1", NameCheck::kDeviceName},
        {"x\\LPT9", NameCheck::kDeviceName},
        {"nul .txt", NameCheck::kDeviceName},  // spaces before the extension
        {"conout$", NameCheck::kDeviceName},
        {"COM\xb9\xa1", NameCheck::kOk},    // B9 A1 (one of GBK's characters): no digit
        {"\x81", NameCheck::kBadGbk},       // lead byte at the end
        {"a\x81\x20", NameCheck::kBadGbk},  // lead byte, space
        {"a\x81\x7f", NameCheck::kBadGbk},  // 7F is no trail byte
        {"a\x81\xff", NameCheck::kBadGbk},  // FF is no trail byte
        // Bytes and pairs GBK defines no character for, which the package
        // tool could not write, and neighbours that are characters.
        {"a\xff.txt", NameCheck::kBadGbk},  // FF alone
        {"a\x80.txt", NameCheck::kOk},      // 80 alone: the euro sign
        {"\xa6\x7c", NameCheck::kBadGbk},   // A6 7C: no character, though 7C looks like |
        {"\xaa\xa1", NameCheck::kBadGbk},   // AA A1: the user-defined area AAA1-AFFE
        {"\xfe\xfe", NameCheck::kBadGbk},   // FE FE: the user-defined area F8A1-FEFE
        {"\xa1\x40", NameCheck::kBadGbk},   // A1 40: the user-defined area A140-A7A0
        {"\xa6\xb9", NameCheck::kBadGbk},   // A6 B9: unassigned, just past Ω (A6 B8)
        {"\xa6\xb8", NameCheck::kOk},       // A6 B8: Ω
        {"\xb0\xa1", NameCheck::kOk},       // B0 A1: 啊
        {"\xaa\xa0", NameCheck::kOk},       // AA A0: 獱, the last before AAA1
        {"\xfe\x4f", NameCheck::kOk},       // FE 4F: 﨩
        {"a\tb", NameCheck::kControlByte},
        {"a\x1f", NameCheck::kControlByte},
        // One row per character Windows file names cannot hold.
        {"a<b", NameCheck::kForbiddenCharacter},
        {"a>b", NameCheck::kForbiddenCharacter},
        {"say\"hi\"", NameCheck::kForbiddenCharacter},
        {"dir|x\\a", NameCheck::kForbiddenCharacter},
        {"what?", NameCheck::kForbiddenCharacter},
        {"sub\\*.txt", NameCheck::kForbiddenCharacter},
        {std::string(256, 'a'), NameCheck::kLevelTooLong},
        // 255 letters and 中: 256 characters in 257 bytes.
        {"x\\" + std::string(255, 'a') + "\xd6\xd0", NameCheck::kLevelTooLong},
        {"install.log", NameCheck::kInstallLog},
        {"INSTALL.LOG", NameCheck::kInstallLog},
        {"Install.Log", NameCheck::kInstallLog},
        // A folder of the log's name: the log is created first, as a file.
        {"install.log\\x.txt", NameCheck::kInstallLog},
        {"INSTALL.LOG\\a\\b", NameCheck::kInstallLog},
        {"install.log.d\\x", NameCheck::kOk},
        // ｉnstall.log: a full-width ｉ (A3 E9) is no i, in any case.
        {"\xa3\xe9nstall.log", NameCheck::kOk},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Check(c.name), c.expected);
    }
}

// The same bytes read in a single-byte code page (1252), as the installer
// reads them there: every byte is a character, every 5C a separator.
TEST(EntryRules, NamesInASingleByteCodePage) {
    const NameCase cases[] = {
        // 61 81 5C 43 4F 4D 31: the levels a\x81 and COM1.
        {"a\x81\x5c"
         "COM1",
         NameCheck::kDeviceName},
        {"\x81\x5c", NameCheck::kTrailingSeparator},  // 81, then a separator
        {"\x81\x5c\x5c"
         "a",
         NameCheck::kEmptyLevel},                  // 81 \ \ a
        {"\x81", NameCheck::kOk},                  // no lead byte is left open
        {"a\x81 \\x", NameCheck::kDotOrSpaceEnd},  // 81 20: a level ending in a space
        // 81 5C then install.log: the log's name at the top once 81 is a level.
        {"\x81\x5cinstall.log", NameCheck::kOk},
        {"\xe9t\xe9\\a.txt", NameCheck::kOk},  // été\a.txt
        // 255 bytes of E9: 255 characters here, in GBK 128.
        {std::string(255, '\xe9') + "\\a", NameCheck::kOk},
        {std::string(256, '\xe9'), NameCheck::kLevelTooLong},
        // COM and LPT with the superscript digits B9 (¹), B2 (²), B3 (³).
        {"COM\xb9", NameCheck::kDeviceName},
        {"a\\lpt\xb3.txt", NameCheck::kDeviceName},
        {"COM\xb2 .log", NameCheck::kDeviceName},
        {"COM\xbc", NameCheck::kOk},  // ¼ is no digit
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        char field[kNameSize] = {};
        std::memcpy(field, c.name.data(), c.name.size());
        EXPECT_EQ(CheckEntryName(field, sizeof field, kWesternNames), c.expected);
    }
}

// Code page 949 as Windows reads names in it, in what the rules look at here:
// lead bytes 81-FE, and the superscript digits as pairs, A9F6 (¹), A9F7 (²)
// and A9F8 (³), which fold to U+00B9, U+00B2 and U+00B3.
bool IsKoreanLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

std::uint32_t FoldKorean(NameCharacter c) {
    switch (c) {
        case 0xA9F6:
            return 0xB9;
        case 0xA9F7:
            return 0xB2;
        case 0xA9F8:
            return 0xB3;
        default:
            return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
    }
}

// A device's digit is one character, one byte or two: COM² is a device under
// 949, where ² is a pair.
TEST(EntryRules, NamesInADoubleByteCodePage) {
    const NameCodePage korean = {IsKoreanLeadByte, IsAnyCharacter, FoldKorean};
    const NameCase cases[] = {
        {"COM\xa9\xf7", NameCheck::kDeviceName},         // COM²
        {"a\\lpt\xa9\xf6.txt", NameCheck::kDeviceName},  // lpt¹.txt
        {"COM\xa9\xf8 .log", NameCheck::kDeviceName},    // COM³ .log
        {"COM\xa9\xf5", NameCheck::kOk},                 // ⒂ is no digit
        {"COM\xa9\xf7x", NameCheck::kOk},                // COM²x
        {"COM1", NameCheck::kDeviceName},
        {"COM\xb0\xa1", NameCheck::kOk},  // 가
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        char field[kNameSize] = {};
        std::memcpy(field, c.name.data(), c.name.size());
        EXPECT_EQ(CheckEntryName(field, sizeof field, korean), c.expected);
    }
}

TEST(EntryRules, NameMustEndWithinItsField) {
    char field[kNameSize];
    std::memset(field, 'a', sizeof field);
    EXPECT_EQ(CheckEntryName(field, sizeof field), NameCheck::kUnterminated);
    field[kNameSize - 1] = '\0';
    field[128] = '\\';  // two levels, each within 255 characters
    EXPECT_EQ(CheckEntryName(field, sizeof field), NameCheck::kOk);
    // A short field: nothing past it is read.
    EXPECT_EQ(CheckEntryName("abcdef", 3), NameCheck::kUnterminated);
}

std::vector<std::unique_ptr<PackageEntry>> Entries(
    std::initializer_list<std::pair<std::int32_t, const char*>> list) {
    std::vector<std::unique_ptr<PackageEntry>> out;
    for (const auto& [size, name] : list) {
        auto e = std::make_unique<PackageEntry>();
        std::memset(e.get(), 0, sizeof *e);
        e->nSize = size;
        std::strcpy(e->szName, name);
        out.push_back(std::move(e));
    }
    return out;
}

TEST(EntryRules, DirectoryTotalsAndFirstFault) {
    struct Case {
        const char* what;
        std::vector<std::unique_ptr<PackageEntry>> entries;
        DirectoryCheck status;
        std::size_t bad_index;
        std::int64_t total;  // kOk: the total; kFolderClash: the other entry's index
        std::size_t twins = 0;
    };
    Case cases[] = {
        {"empty directory", Entries({}), DirectoryCheck::kOk, 0, 0},
        {"negative sizes count as zero", Entries({{5, "a"}, {-7, "b"}, {INT32_MIN, "c"}}),
         DirectoryCheck::kOk, 0, 5},
        {"exactly the largest total", Entries({{INT32_MAX - 1, "a"}, {1, "b"}}),
         DirectoryCheck::kOk, 0, INT32_MAX},
        {"one past the largest total", Entries({{INT32_MAX, "a"}, {0, "b"}, {1, "c"}}),
         DirectoryCheck::kTotalTooLarge, 2, 0},
        {"a bad name after good ones", Entries({{1, "a"}, {1, "b\\..\\c"}, {1, "\\d"}}),
         DirectoryCheck::kBadName, 1, 0},
        {"a file, then a folder of its name", Entries({{1, "x"}, {1, "data"}, {1, "data\\x.txt"}}),
         DirectoryCheck::kFolderClash, 2, 1},
        {"a folder, then a file of its name in other letters",
         Entries({{1, "DATA\\x.txt"}, {1, "data"}}), DirectoryCheck::kFolderClash, 1, 0},
        {"a deeper level", Entries({{1, "a\\B\\c"}, {1, "A\\b"}}), DirectoryCheck::kFolderClash, 1,
         0},
        {"one folder in two spellings", Entries({{1, "dir\\a"}, {1, "DIR\\b"}}),
         DirectoryCheck::kOk, 0, 2},
        {"case twins and an exact duplicate",
         Entries({{1, "Readme.txt"}, {1, "README.TXT"}, {1, "Readme.txt"}}), DirectoryCheck::kOk, 0,
         3, 1},
        // 丂 (81 41) and 乣 (81 61): second bytes that look like A and a, yet
        // two characters; the first a file, the second a folder.
        {"double-byte characters compared as they stand",
         Entries({{1, "\x81\x41"}, {1, "\x81\x61\\x"}}), DirectoryCheck::kOk, 0, 2},
        // 乗 (81 5C) is a file; 乗\x needs it as a folder, its 5C no separator.
        {"a folder named by a character ending in 5C",
         Entries({{1, "\x81\x5c"}, {1, "\x81\x5c\\x"}}), DirectoryCheck::kFolderClash, 1, 0},
        // Ａ (A3 C1) is a file; ａ (A3 E1) is the same name to Windows.
        {"full-width letters fold", Entries({{1, "\xa3\xc1"}, {1, "\xa3\xe1\\x.txt"}}),
         DirectoryCheck::kFolderClash, 1, 0},
        // Ω (A6 B8) as a folder, ω (A6 D8) as a file: the last Greek pair.
        {"Greek letters fold", Entries({{1, "a\\\xa6\xb8\\x"}, {1, "A\\\xa6\xd8"}}),
         DirectoryCheck::kFolderClash, 1, 0},
        // Ж (A7 A8) and ж (A7 D8); Ё (A7 A7) and ё (A7 D7), which stand apart
        // from the rest of the alphabet in Unicode.
        {"Cyrillic letters fold", Entries({{1, "\xa7\xa8\\x"}, {1, "\xa7\xd8"}}),
         DirectoryCheck::kFolderClash, 1, 0},
        {"Cyrillic Yo folds", Entries({{1, "\xa7\xd7.txt"}, {1, "\xa7\xa7.txt"}}),
         DirectoryCheck::kOk, 0, 2, 1},
        // Ⅰ (A2 F1) and ⅰ (A2 A1): Roman numerals have letter case too.
        {"Roman numerals fold", Entries({{1, "\xa2\xf1"}, {1, "\xa2\xa1\\x"}}),
         DirectoryCheck::kFolderClash, 1, 0},
        // Ｚ (A3 DA) and ｚ (A3 FA) fold; ［ (A3 DB) and ｛ (A3 FB) do not.
        {"the last full-width letters fold, the next characters do not",
         Entries({{1, "\xa3\xda"}, {1, "\xa3\xfa"}, {1, "\xa3\xdb"}, {1, "\xa3\xfb\\x"}}),
         DirectoryCheck::kOk, 0, 4, 1},
        // x is a file below b and a folder below a: levels are told apart by
        // their parents, not by their own names alone.
        {"one level name below two parents", Entries({{1, "a\\x\\f"}, {1, "b\\x"}}),
         DirectoryCheck::kOk, 0, 2},
        {"a clash three levels down, the levels above in other letters",
         Entries({{1, "X\\y\\Z\\f"}, {1, "ok"}, {1, "x\\Y\\z"}}), DirectoryCheck::kFolderClash, 2,
         0},
        {"twins through one folder spelled two ways",
         Entries({{1, "dir\\Sub\\a.txt"}, {1, "DIR\\sub\\A.TXT"}}), DirectoryCheck::kOk, 0, 2, 1},
        // A clash at entry 1 comes before the bad name of entry 2.
        {"the earliest fault wins", Entries({{1, "d"}, {1, "d\\x"}, {1, "..\\y"}}),
         DirectoryCheck::kFolderClash, 1, 0},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EntryCheck check = ValidateDirectory(c.entries);
        EXPECT_EQ(check.status, c.status);
        if (c.status == DirectoryCheck::kOk) {
            EXPECT_EQ(check.total, c.total);
            EXPECT_EQ(check.case_twins.size(), c.twins);
        } else {
            EXPECT_EQ(check.bad_index, c.bad_index);
        }
        if (c.status == DirectoryCheck::kFolderClash) {
            EXPECT_EQ(check.other_index, static_cast<std::size_t>(c.total));
        }
    }
}

// Letters of code page 1252 fold as Windows folds them there: é (E9) with
// É (C9), ÿ (FF) with Ÿ (9F), š (9A) with Š (8A); ÷ (F7) and × (D7) are no
// letters.
TEST(EntryRules, DirectoryInCodePage1252) {
    const struct {
        const char* file;
        const char* folder;
        DirectoryCheck status;
    } cases[] = {
        {"\xe9", "\xc9\\x", DirectoryCheck::kFolderClash},
        {"\xff", "\x9f\\x", DirectoryCheck::kFolderClash},
        {"\x9a", "\x8a\\x", DirectoryCheck::kFolderClash},
        {"\xf7", "\xd7\\x", DirectoryCheck::kOk},
        {"\xb5", "\xcc\\x", DirectoryCheck::kOk},  // µ has no upper-case form in 1252
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(ValidateDirectory(Entries({{1, c.file}, {1, c.folder}}), kWesternNames).status,
                  c.status);
    }
}

}  // namespace
}  // namespace qz::test
