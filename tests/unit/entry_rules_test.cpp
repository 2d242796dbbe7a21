#include "engine/entry_rules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qz::test {
namespace {

struct NameCase {
    std::string name;  // the bytes before the NUL
    NameCheck expected;
};

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
        {"\xd6\xd0\xce\xc4\\a", NameCheck::kOk},  // 中文\a
        {std::string(259, 'a'), NameCheck::kOk},  // the longest name
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
        {"\x81", NameCheck::kBadGbk},       // lead byte at the end
        {"a\x81\x20", NameCheck::kBadGbk},  // lead byte, space
        {"a\x81\x7f", NameCheck::kBadGbk},  // 7F is no trail byte
        {"a\x81\xff", NameCheck::kBadGbk},  // FF is no trail byte
        {"a\tb", NameCheck::kControlByte},
        {"a\x1f", NameCheck::kControlByte},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Check(c.name), c.expected);
    }
}

TEST(EntryRules, NameMustEndWithinItsField) {
    char field[kNameSize];
    std::memset(field, 'a', sizeof field);
    EXPECT_EQ(CheckEntryName(field, sizeof field), NameCheck::kUnterminated);
    field[kNameSize - 1] = '\0';
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
        std::int64_t total;
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
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EntryCheck check = ValidateDirectory(c.entries);
        EXPECT_EQ(check.status, c.status);
        if (c.status == DirectoryCheck::kOk) {
            EXPECT_EQ(check.total, c.total);
        } else {
            EXPECT_EQ(check.bad_index, c.bad_index);
        }
    }
}

}  // namespace
}  // namespace qz::test
