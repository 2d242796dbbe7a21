#include "common/dbcs.h"

#include <gtest/gtest.h>

#include "common/directory_chain.h"
#include "support/memory_file_system.h"

namespace qz::test {
namespace {

constexpr std::size_t npos = std::string::npos;

// The Western code page 1252: every byte is a character of its own.
constexpr LeadByteTest kCp1252 = [](unsigned char) { return false; };

TEST(Dbcs, FindBackslashStepsOverDoubleByteCharacters) {
    struct Case {
        std::string s;
        std::size_t from;
        std::size_t expected;
        LeadByteTest isLead = IsGbkLeadByte;
    };
    const Case cases[] = {
        {"a\\b", 0, 1},
        {"a\\b", 2, npos},
        {"", 0, npos},
        {"\x81\x5c", 0, npos},          // 乗: its 5C is a trail byte
        {"\x81\x5c\\", 0, 2},           // 乗 then a backslash
        {"\x87\x5c\x87\x5c\\x", 0, 4},  // 嘰嘰\x
        {"x\x81\x5c\\", 2, 3},          // from the trail byte: alignment kept from the start
        {"\x5c\x81\x5c", 1, npos},      // backslash, then 乗
        {"a\x81", 0, npos},             // lead byte at the end
        {"\x80\\", 0, 1},               // 80 is no lead byte
        {"\xfe\x5c\\", 0, 2},           // FE is the last lead byte
        {"\xff\\", 0, 1},               // FF is none
        {"a\\b", 99, npos},
        {"\xe9\\", 0, npos},               // GBK: E9 5C is one character
        {"\xe9\\", 0, 1, kCp1252},         // 1252: é, then a backslash
        {"\x81\x5c", 0, 1, kCp1252},       // 1252: two characters, the second a backslash
        {"x\xe0\\\xe9\\", 3, 4, kCp1252},  // xà\é\ from the é
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(FindBackslash(c.s, c.from, c.isLead), c.expected);
    }
    EXPECT_EQ(FindLastBackslash("a\\b\\c"), 3u);
    EXPECT_EQ(FindLastBackslash("a\\\x81\x5c"), 1u);  // a\乗
    EXPECT_EQ(FindLastBackslash("\x81\x5c"), npos);
    EXPECT_EQ(FindLastBackslash("a\\\x81\x5c", kCp1252), 3u);  // 1252: 81, then a backslash
    EXPECT_EQ(FindLastBackslash("\xe9\\x", kCp1252), 1u);      // é\x
}

TEST(DirectoryChain, CreatesEachLevelUpToTheLastBackslash) {
    struct Case {
        std::string path;
        std::vector<std::string> created;
        LeadByteTest isLead = IsGbkLeadByte;
    };
    // C:\Société\Qorvane\ in 1252: é = E9, which GBK would read as a lead byte.
    const std::string societe = "C:\\Soci\xe9t\xe9\\";
    const std::string jou = "\x81\x5c";  // 乗
    const Case cases[] = {
        {"C:\\Program Files\\Qorvane\\", {"C:\\Program Files\\", "C:\\Program Files\\Qorvane\\"}},
        {"C:\\Q\\data\\skelmot\\setup.exe", {"C:\\Q\\", "C:\\Q\\data\\", "C:\\Q\\data\\skelmot\\"}},
        {"C:\\", {}},
        {"C:\\file.txt", {}},
        {"C:\\" + jou, {}},  // the 5C of 乗 is not a level
        {"C:\\" + jou + "\\" + jou + "\\f",
         {"C:\\" + jou + "\\", "C:\\" + jou + "\\" + jou + "\\"}},
        {"C:\\a\\\\b\\", {"C:\\a\\", "C:\\a\\\\", "C:\\a\\\\b\\"}},
        {societe + "Qorvane\\", {societe, societe + "Qorvane\\"}, kCp1252},
        {societe + "Qorvane\\", {societe + "Qorvane\\"}},  // GBK: E9 5C is one character
        {"C:\\" + jou + "\\f", {"C:\\\x81\\", "C:\\" + jou + "\\"}, kCp1252},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        MemoryFileSystem fs;
        CreateDirectoryChain(c.path, fs, c.isLead);
        EXPECT_EQ(fs.directory_requests(), c.created);
    }
}

TEST(DirectoryChain, ExistingAndFailedLevelsPassSilently) {
    MemoryFileSystem fs;
    fs.AddDirectory("C:\\a");
    fs.FailOpen("C:\\a\\b\\");
    CreateDirectoryChain("C:\\a\\b\\c\\d.txt", fs);
    EXPECT_EQ(fs.directory_requests(),
              (std::vector<std::string>{"C:\\a\\", "C:\\a\\b\\", "C:\\a\\b\\c\\"}));
    EXPECT_FALSE(fs.HasDirectory("C:\\a\\b"));
    EXPECT_FALSE(fs.HasDirectory("C:\\a\\b\\c"));  // its parent is missing
}

}  // namespace
}  // namespace qz::test
