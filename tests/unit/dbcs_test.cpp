#include "common/dbcs.h"

#include <gtest/gtest.h>

#include "common/directory_chain.h"
#include "support/memory_file_system.h"

namespace qz::test {
namespace {

constexpr std::size_t npos = std::string::npos;

TEST(Dbcs, FindBackslashStepsOverDoubleByteCharacters) {
    struct Case {
        std::string s;
        std::size_t from;
        std::size_t expected;
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(FindBackslash(c.s, c.from), c.expected);
    }
    EXPECT_EQ(FindLastBackslash("a\\b\\c"), 3u);
    EXPECT_EQ(FindLastBackslash("a\\\x81\x5c"), 1u);  // a\乗
    EXPECT_EQ(FindLastBackslash("\x81\x5c"), npos);
}

TEST(DirectoryChain, CreatesEachLevelUpToTheLastBackslash) {
    struct Case {
        std::string path;
        std::vector<std::string> created;
    };
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        MemoryFileSystem fs;
        CreateDirectoryChain(c.path, fs);
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
