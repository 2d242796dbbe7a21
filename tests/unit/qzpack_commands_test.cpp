// The package tool's commands on files in a temporary folder.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "qzpack/commands/commands.h"
#include "support/package_bytes.h"
#include "support/qzpack_temp_tree.h"

namespace qz::pack {
namespace {

using test::EntryBytes;
using test::HeaderBytes;
using test::Le32;
using test::PackageBytes;
using test::QzpackTempTree;
using test::TestFile;

struct Output {
    std::ostringstream out, err;
    Console console{out, err, false};
};

// The names in a folder, sorted.
std::vector<std::string> Listing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(QzpackCommandsTest, CreateWritesTheSameBytesForTheSameTree) {
    QzpackTempTree tree;
    // The same files made in two different orders.
    tree.Write(u8"one/说明.txt", "readme");
    tree.Write(u8"one/a.txt", "abc");
    tree.Write(u8"one/sub/b.bin", "");
    tree.Write(u8"two/sub/b.bin", "");
    tree.Write(u8"two/a.txt", "abc");
    tree.Write(u8"two/说明.txt", "readme");

    Output first, second;
    ASSERT_EQ(RunCreate(tree.Path("one"), tree.Path("one.dat"), first.console), kExitOk)
        << first.err.str();
    ASSERT_EQ(RunCreate(tree.Path("two"), tree.Path("two.dat"), second.console), kExitOk)
        << second.err.str();
    EXPECT_EQ(tree.Read("one.dat"), tree.Read("two.dat"));
    EXPECT_EQ(tree.Read("one.dat"),
              PackageBytes({{"a.txt", "abc"}, {"sub\\b.bin", ""}, {"说明.txt", "readme"}}));
    // The longest name is install.log's 11 bytes: 259 - 11 bytes are left.
    EXPECT_EQ(first.out.str(),
              "room: install directories of up to 248 bytes keep every path within 259 bytes\n"
              "3 files, 9 bytes packed into " +
                  tree.Path("one.dat").string() + "\n");
}

TEST(QzpackCommandsTest, CreateThatFailsKeepsAnExistingPackageAndLeavesNoPart) {
    QzpackTempTree tree;
    tree.Write("in/CON", "device name");
    tree.Write("data.dat", "old package");
    Output refused;
    EXPECT_EQ(RunCreate(tree.Path("in"), tree.Path("data.dat"), refused.console), kExitRefused);
    EXPECT_NE(refused.err.str().find("CON"), std::string::npos) << refused.err.str();
    EXPECT_EQ(tree.Read("data.dat"), "old package");
    EXPECT_EQ(Listing(tree.root()), (std::vector<std::string>{"data.dat", "in"}));

    // A package inside the folder it packs would pack itself.
    tree.Write("in2/a.txt", "a");
    Output inside;
    EXPECT_EQ(RunCreate(tree.Path("in2"), tree.Path("in2/sub/../data.dat"), inside.console),
              kExitUsage);
    EXPECT_NE(inside.err.str().find("outside"), std::string::npos) << inside.err.str();
    EXPECT_EQ(tree.Read("in2/data.dat"), "<missing>");
}

// Hostile: whoever can write beside the package plants data.dat.part, the
// name the package used to be written under, as a link to a file of their
// choosing. The package is written under a new name of its own and renamed;
// the link and the file it leads to stay as they were, and nothing else is
// left behind.
TEST(QzpackCommandsTest, CreateLeavesAPlantedPartLinkAlone) {
    QzpackTempTree tree;
    tree.Write("in/a.txt", "abc");
    tree.Write("victim.txt", "keep");
    ASSERT_EQ(symlink("victim.txt", tree.Path("data.dat.part").c_str()), 0);
    Output o;
    ASSERT_EQ(RunCreate(tree.Path("in"), tree.Path("data.dat"), o.console), kExitOk) << o.err.str();
    EXPECT_EQ(tree.Read("data.dat"), PackageBytes({{"a.txt", "abc"}}));
    EXPECT_EQ(tree.Read("victim.txt"), "keep");
    EXPECT_TRUE(std::filesystem::is_symlink(tree.Path("data.dat.part")));
    EXPECT_EQ(Listing(tree.root()),
              (std::vector<std::string>{"data.dat", "data.dat.part", "in", "victim.txt"}));
}

TEST(QzpackCommandsTest, ListShowsSizesNamesAndTotal) {
    QzpackTempTree tree;
    // Entry 1: size -5 (counts as 0), a name with 乗 (81 5C).
    tree.Write("p.dat", HeaderBytes(1, 'Q', 'Z', 2) + EntryBytes(3, "a.txt") +
                            EntryBytes(-5, "\x81\x5c\\b.bin") + "abc");
    Output o;
    EXPECT_EQ(RunList(tree.Path("p.dat"), o.console), kExitOk) << o.err.str();
    EXPECT_EQ(o.out.str(),
              "     0            3  a.txt\n"
              "     1           -5  "
              u8"乗"
              "\\b.bin\n"
              "total 3 bytes in 2 entries\n");

    // A directory cut short: what was read is shown, then the complaint.
    tree.Write("short.dat", HeaderBytes(1, 'Q', 'Z', 2) + EntryBytes(3, "a.txt"));
    Output cut;
    EXPECT_EQ(RunList(tree.Path("short.dat"), cut.console), kExitRefused);
    EXPECT_EQ(cut.out.str(), "     0            3  a.txt\n");
    EXPECT_NE(cut.err.str().find("ends inside entry 1 of 2"), std::string::npos) << cut.err.str();
}

TEST(QzpackCommandsTest, VerifyAppliesTheInstallersRules) {
    const std::string valid = PackageBytes({{"a.txt", "abc"}, {"sub\\b.bin", ""}});
    struct Case {
        const char* what;
        std::string bytes;
        int status;
        std::string message;  // in out (valid) or err (otherwise)
    };
    const std::vector<Case> cases = {
        {"the two-entry example", valid, kExitOk, "valid: 2 entries, 3 bytes"},
        // 01 00 00 00 'Q' 'Z': the missing 22 bytes, the count among them, are zero.
        {"six-byte header", std::string("\x01\0\0\0QZ", 6), kExitOk, "valid: 0 entries"},
        {"negative count", HeaderBytes(1, 'Q', 'Z', -1), kExitOk, "valid: 0 entries"},
        {"bytes after the data area", valid + "tail", kExitOk, "4 bytes after the data area"},
        {"negative size", HeaderBytes(1, 'Q', 'Z', 1) + EntryBytes(-7, "e"), kExitOk,
         "installs as an empty file"},
        {"same name twice", PackageBytes({{"same", "1"}, {"same", "2"}}), kExitOk,
         "has the name of entry 0"},
        {"version 2", HeaderBytes(2, 'Q', 'Z', 0), kExitRefused, "version is 2"},
        {"magic swapped", HeaderBytes(1, 'Z', 'Q', 0), kExitRefused, "magic is ZQ"},
        {"magic in lower case", HeaderBytes(1, 'q', 'z', 0), kExitRefused, "magic is qz"},
        {"empty file", "", kExitRefused, "version is 0"},
        {"directory cut inside a record",
         HeaderBytes(1, 'Q', 'Z', 2) + EntryBytes(0, "a") + EntryBytes(0, "b").substr(0, 100),
         kExitRefused, "ends inside entry 1 of 2"},
        {"name climbing out", PackageBytes({{"..\\evil.exe", "x"}}), kExitRefused,
         "entry 0 (..\\evil.exe)"},
        {"drive letter", PackageBytes({{"ok", ""}, {"C:\\x", "x"}}), kExitRefused,
         "entry 1 (C:\\x): the name is refused: holds a colon"},
        {"device name", PackageBytes({{"aux.txt", ""}}), kExitRefused, "device"},
        {"a character Windows refuses", PackageBytes({{"ok", ""}, {"a\\what?.txt", "x"}}),
         kExitRefused, "entry 1 (a\\what?.txt): the name is refused: holds a character"},
        // A6 7C: a lead byte and a trail byte that GBK has no character for.
        {"a pair GBK does not define", PackageBytes({{"ok", ""}, {"a\xa6\x7c.txt", "x"}}),
         kExitRefused, "the name is refused: not well-formed GBK"},
        {"a level of 256 characters", PackageBytes({{std::string(256, 'n'), ""}}), kExitRefused,
         "entry 0 (" + std::string(256, 'n') + "): the name is refused: has a level longer"},
        {"the installer's own log", PackageBytes({{"a", ""}, {"Install.LOG", "x"}}), kExitRefused,
         "entry 1 (Install.LOG): the name is refused: has install.log as its first level"},
        {"a folder named like the log", PackageBytes({{"install.log\\x.txt", "x"}}), kExitRefused,
         "entry 0 (install.log\\x.txt): the name is refused: has install.log"},
        // Ａ (A3 C1), then ａ (A3 E1) as a folder: one name on Windows.
        {"full-width letters in two cases", PackageBytes({{"\xa3\xc1", "1"}, {"\xa3\xe1\\x", "2"}}),
         kExitRefused, u8"entry 1 (ａ\\x) and entry 0 (Ａ): one names a file where"},
        {"a file where a folder is needed",
         PackageBytes({{"data\\x.txt", "1"}, {"b", ""}, {"DATA", "2"}}), kExitRefused,
         "entry 2 (DATA) and entry 0 (data\\x.txt): one names a file where the other needs a "
         "folder"},
        // 260 name bytes, no NUL anywhere in the field.
        {"unterminated name", HeaderBytes(1, 'Q', 'Z', 1) + EntryBytes(0, std::string(260, 'n')),
         kExitRefused, "no NUL"},
        {"total above 2,147,483,647",
         HeaderBytes(1, 'Q', 'Z', 2) + EntryBytes(0x7FFFFFFF, "a") + EntryBytes(1, "b"),
         kExitRefused, "add up to 2147483648 bytes"},
        {"data one byte short", valid.substr(0, valid.size() - 1), kExitRefused,
         "ends inside entry 0 (a.txt): 2 of 3 bytes present"},
        {"second entry's data missing",
         HeaderBytes(1, 'Q', 'Z', 2) + EntryBytes(1, "a") + EntryBytes(2, "b") + "x", kExitRefused,
         "entry 1 (b): 0 of 2 bytes present"},
    };
    for (const Case& c : cases) {
        QzpackTempTree tree;
        tree.Write("p.dat", c.bytes);
        Output o;
        EXPECT_EQ(RunVerify(tree.Path("p.dat"), o.console), c.status) << c.what;
        const std::string text = c.status == kExitOk ? o.out.str() : o.err.str();
        EXPECT_NE(text.find(c.message), std::string::npos) << c.what << ": " << text;
    }

    QzpackTempTree tree;
    Output missing;
    EXPECT_EQ(RunVerify(tree.Path("none.dat"), missing.console), kExitRefused);
    EXPECT_NE(missing.err.str().find("cannot be opened"), std::string::npos);
}

TEST(QzpackCommandsTest, ExtractInstallsWithTheLogAndReportsTheEnginesResult) {
    QzpackTempTree tree;
    tree.Write("p.dat", PackageBytes({{"data\\skelmot\\setup.exe", "MZ"},
                                      {"\x81\x5c.txt", "5c"},  // 乗.txt
                                      {"empty.bin", ""}}));
    Output o;
    ASSERT_EQ(RunExtract(tree.Path("p.dat"), tree.Path("out/deeper"), o.console), 0) << o.err.str();
    EXPECT_EQ(tree.Read("out/deeper/data/skelmot/setup.exe"), "MZ");
    EXPECT_EQ(tree.Read(u8"out/deeper/乗.txt"), "5c");
    EXPECT_EQ(tree.Read("out/deeper/empty.bin"), "");
    EXPECT_EQ(tree.Read("out/deeper/install.log"),
              "[FILE] data\\skelmot\\setup.exe\r\n[FILE] \x81\x5c.txt\r\n[FILE] empty.bin\r\n");

    // One byte short: the file is written as far as it goes, result 4, and
    // the engine's message reaches the terminal in UTF-8.
    const std::string full = PackageBytes({{"a.txt", "abc"}});
    tree.Write("short.dat", full.substr(0, full.size() - 1));
    Output cut;
    EXPECT_EQ(RunExtract(tree.Path("short.dat"), tree.Path("cut"), cut.console), kExitRefused);
    EXPECT_EQ(tree.Read("cut/a.txt"), "ab");
    EXPECT_EQ(cut.err.str(),
              u8"qzpack: 安装文件格式出错,请检查文件是否受损.\n"
              "qzpack: " +
                  tree.Path("short.dat").string() +
                  ": entry a.txt: the package ends inside its data, or cannot be "
                  "read\n");

    // A folder stands where the second file goes: the entry and the system's
    // words follow the installer's message.
    tree.Write("two.dat", PackageBytes({{"a.txt", "a"}, {"b.txt", "b"}}));
    tree.MakeFolder("blocked/b.txt");
    Output blocked;
    EXPECT_EQ(RunExtract(tree.Path("two.dat"), tree.Path("blocked"), blocked.console),
              kExitRefused);
    EXPECT_EQ(tree.Read("blocked/a.txt"), "a");
    EXPECT_NE(blocked.err.str().find("entry b.txt: Is a directory"), std::string::npos)
        << blocked.err.str();

    // A refused name: the entry and the rule, nothing written.
    tree.Write("refused.dat", PackageBytes({{"data", "1"}, {"data\\x.txt", "2"}}));
    Output refused;
    EXPECT_EQ(RunExtract(tree.Path("refused.dat"), tree.Path("refused"), refused.console),
              kExitRefused);
    EXPECT_NE(refused.err.str().find("entry 1 (data\\x.txt) and entry 0 (data)"), std::string::npos)
        << refused.err.str();
    EXPECT_EQ(tree.Read("refused/install.log"), "<missing>");

    Output none;
    EXPECT_EQ(RunExtract(tree.Path("none.dat"), tree.Path("none"), none.console), kExitRefused);
    EXPECT_NE(none.err.str().find("cannot be opened: No such file"), std::string::npos)
        << none.err.str();
    EXPECT_EQ(tree.Read("none/install.log"), "<missing>");
}

// Hostile: what is planted in the extraction target, each a way out to the
// folder "outside": links, a FIFO, hard links of files there. No link is
// followed and no FIFO opened (nor waited on): the extraction fails at the
// entry it stands in for. A hard link is replaced, never written through.
// Nothing outside the target changes.
TEST(QzpackCommandsTest, ExtractWritesNothingThroughWhatIsPlantedInTheTarget) {
    using Plant = int (*)(const char* existing, const char* planted);
    const Plant soft = [](const char* to, const char* at) { return symlink(to, at); };
    const Plant fifo = [](const char*, const char* at) { return mkfifo(at, 0644); };
    const Plant hard = [](const char* to, const char* at) { return link(to, at); };
    struct Case {
        const char* what;
        Plant plant;
        const char* name;    // in the target
        const char* leads;   // a link's text, or the file a hard link shares
        const char* failed;  // the entry named in the refusal; null: installed
    };
    const std::vector<Case> cases = {
        {"a link for a folder of the package", soft, "sub", "../outside", "sub\\b.txt"},
        {"a link for a file of the package", soft, "a.txt", "../outside/a.txt", "a.txt"},
        {"a link for the log", soft, "install.log", "../outside/install.log", "install.log"},
        {"a FIFO for a file", fifo, "a.txt", "", "a.txt"},
        {"a FIFO for the log", fifo, "install.log", "", "install.log"},
        {"a hard link for a file", hard, "a.txt", "outside/a.txt", nullptr},
        {"a hard link for the log", hard, "install.log", "outside/install.log", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QzpackTempTree tree;
        tree.Write("p.dat", PackageBytes({{"a.txt", "a"}, {"sub\\b.txt", "b"}}));
        tree.Write("outside/a.txt", "theirs");
        tree.Write("outside/install.log", "theirs");
        tree.MakeFolder("target");
        const std::string leads = c.plant == hard ? tree.Path(c.leads).string() : c.leads;
        const std::filesystem::path planted = tree.Path(std::string("target/") + c.name);
        ASSERT_EQ(c.plant(leads.c_str(), planted.c_str()), 0);
        Output o;
        const int result = RunExtract(tree.Path("p.dat"), tree.Path("target"), o.console);
        if (c.failed != nullptr) {
            EXPECT_EQ(result, kExitRefused);
            EXPECT_NE(o.err.str().find(std::string("entry ") + c.failed + ": "), std::string::npos)
                << o.err.str();
            EXPECT_FALSE(
                std::filesystem::is_regular_file(std::filesystem::symlink_status(planted)));
        } else {
            EXPECT_EQ(result, kExitOk) << o.err.str();
            EXPECT_EQ(tree.Read("target/a.txt"), "a");
            EXPECT_EQ(tree.Read("target/install.log"), "[FILE] a.txt\r\n[FILE] sub\\b.txt\r\n");
        }
        EXPECT_EQ(Listing(tree.Path("outside")),
                  (std::vector<std::string>{"a.txt", "install.log"}));
        EXPECT_EQ(tree.Read("outside/a.txt"), "theirs");
        EXPECT_EQ(tree.Read("outside/install.log"), "theirs");
    }
}

// Hostile: a file of the payload is a hard link of a file outside it (a key,
// say): packed with a warning naming it, refused under --strict. Hard links
// among the payload's own files are no surprise and warn of nothing.
TEST(QzpackCommandsTest, CreateWarnsOfHardLinksOutOfTheFolder) {
    struct Case {
        const char* what;
        const char* existing;  // the file the payload's b.txt is made a hard link of
        bool warned;
    };
    const std::vector<Case> cases = {
        {"a hard link of a file outside", "secret/key.pem", true},
        {"a hard link of a file inside", "in/a.txt", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QzpackTempTree tree;
        tree.Write("in/a.txt", "a");
        // The product's programs: no warning but the one looked for.
        for (const char* program :
             {"ravik.exe", "uninstall.exe", "data/pendrel.exe", "data/skelmot/setup.exe"}) {
            tree.Write(std::string("in/") + program, "p");
        }
        tree.Write("secret/key.pem", "KEY");
        ASSERT_EQ(link(tree.Path(c.existing).c_str(), tree.Path("in/b.txt").c_str()), 0);
        Output plain, strict;
        strict.console.strict = true;
        EXPECT_EQ(RunCreate(tree.Path("in"), tree.Path("plain.dat"), plain.console), kExitOk);
        const std::string warning = tree.Path("in/b.txt").string() +
                                    ": a hard link of a file with 2 names, 1 of them outside";
        EXPECT_EQ(plain.err.str().find(warning) != std::string::npos, c.warned) << plain.err.str();
        EXPECT_EQ(RunCreate(tree.Path("in"), tree.Path("strict.dat"), strict.console),
                  c.warned ? kExitRefused : kExitOk);
        EXPECT_EQ(tree.Read("strict.dat") == "<missing>", c.warned);
    }
}

// What installs but surprises: a warning with status 0, a refusal under
// --strict, for verify and create alike.
TEST(QzpackCommandsTest, WarningsRefuseOnlyUnderStrict) {
    const std::vector<TestFile> programs = {{"data\\pendrel.exe", "p"},
                                            {"data\\skelmot\\setup.exe", "s"},
                                            {"ravik.exe", "r"},
                                            {"uninstall.exe", "u"}};
    const auto with = [&programs](std::vector<TestFile> more) {
        more.insert(more.end(), programs.begin(), programs.end());
        return more;
    };
    // 229 bytes: the room is 259 - 229 = 30, one byte short of
    // C:\Program Files (x86)\Qorvane\ (31).
    const std::string long_name = std::string(200, 'd') + "\\" + std::string(28, 'f');
    struct Case {
        const char* what;
        std::vector<TestFile> files;  // also written as a tree, in this order
        std::string warning;          // empty: none
        std::string room;
    };
    const std::vector<Case> cases = {
        {"the product's programs", with({}), "", "up to 237 bytes"},
        {"case twins", with({{"Readme.txt", "1"}, {"README.TXT", "2"}}),
         // create sorts README.TXT first: the indexes differ, the words do not.
         ") only in letter case: on Windows it replaces that file", ""},
        {"no uninstall.exe",
         {programs[0], programs[1], programs[2]},
         "uninstall.exe is missing",
         ""},
        {"no data\\skelmot\\setup.exe",
         {programs[0], programs[2], programs[3]},
         "data\\skelmot\\setup.exe is missing",
         ""},
        {"short room", with({{long_name, ""}}), "room for install directories of 30 bytes",
         "up to 30 bytes"},
        {"room just enough", with({{long_name.substr(1), ""}}), "", "up to 31 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QzpackTempTree tree;
        tree.Write("p.dat", PackageBytes(c.files));
        for (const bool strict : {false, true}) {
            Output o;
            o.console.strict = strict;
            const int want = strict && !c.warning.empty() ? kExitRefused : kExitOk;
            EXPECT_EQ(RunVerify(tree.Path("p.dat"), o.console), want) << o.err.str();
            EXPECT_NE(o.err.str().find(c.warning), std::string::npos) << o.err.str();
            EXPECT_EQ(c.warning.empty(), o.err.str().empty()) << o.err.str();
            EXPECT_NE(o.out.str().find(c.room), std::string::npos) << o.out.str();
        }
        // create on a tree with these files; twins need a case-sensitive
        // host, which this is. Under --strict a warning leaves no package.
        for (const TestFile& file : c.files) {
            std::string host = file.name;
            for (char& ch : host) {
                ch = ch == '\\' ? '/' : ch;
            }
            tree.Write("tree/" + host, file.data);
        }
        Output plain, strict;
        strict.console.strict = true;
        EXPECT_EQ(RunCreate(tree.Path("tree"), tree.Path("plain.dat"), plain.console), kExitOk);
        EXPECT_NE(plain.err.str().find(c.warning), std::string::npos) << plain.err.str();
        EXPECT_EQ(RunCreate(tree.Path("tree"), tree.Path("strict.dat"), strict.console),
                  c.warning.empty() ? kExitOk : kExitRefused);
        EXPECT_EQ(tree.Read("strict.dat") == "<missing>", !c.warning.empty());
    }
}

// Packages that install under GBK's code page 936 but would meet another
// reading under a single-byte code page such as 1252, where the installer
// judges names in that code page: a warning each, a refusal under --strict.
TEST(QzpackCommandsTest, VerifyWarnsOfWhatASingleByteCodePageReadsOtherwise) {
    const std::vector<TestFile> programs = {{"ravik.exe", "r"},
                                            {"uninstall.exe", "u"},
                                            {"data\\pendrel.exe", "p"},
                                            {"data\\skelmot\\setup.exe", "s"}};
    struct Case {
        const char* what;
        std::vector<TestFile> more;         // entries 4 and on
        std::vector<std::string> warnings;  // each found in err
        std::size_t count = 1;              // warnings in all
    };
    const Case cases[] = {
        // 81 5C is 乗: a 5C trail byte that 1252 takes for a separator.
        {"a lone 5C trail byte",
         {{"\x81\x5c.txt", "x"}},
         {u8"entry 4 (乗.txt) holds a double-byte character ending in 5C"}},
        // 61 81 5C 43 4F 4D 31: a, 乗 and COM1, one level; in 1252 the levels
        // a\x81 and COM1, a device, told once.
        {"a device in 1252",
         {{"a\x81\\COM1", "x"}},
         {u8"entry 4 (a乗COM1) holds a double-byte character ending in 5C",
          "where the installer refuses it: the name has a level that names a Windows device"}},
        // C9 A1 and E9 A1: two GBK characters, É¡ and é¡ in 1252, one name
        // there; the first a file, the second a folder.
        {"two names that fold to one in 1252",
         {{"\xc9\xa1", "1"}, {"\xe9\xa1\\x", "2"}},
         {"the installer refuses the package: entry 5 (",
          "one names a file where the other needs a folder"}},
        // B0 B0 (a GBK character) 128 times: 128 characters in GBK, 256 in 1252.
        {"a level of 256 characters in 1252",
         {{std::string(256, '\xb0'), "x"}},
         {"the installer refuses the package: entry 4 (", "has a level longer than 255",
          "leaves room for install directories of 3 bytes"},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<TestFile> files = programs;
        files.insert(files.end(), c.more.begin(), c.more.end());
        QzpackTempTree tree;
        tree.Write("p.dat", PackageBytes(files));
        for (const bool strict : {false, true}) {
            Output o;
            o.console.strict = strict;
            EXPECT_EQ(RunVerify(tree.Path("p.dat"), o.console), strict ? kExitRefused : kExitOk);
            const std::string err = o.err.str();
            for (const std::string& warning : c.warnings) {
                EXPECT_NE(err.find(warning), std::string::npos) << err;
            }
            const auto count = [&err](const char* what) {
                std::size_t n = 0;
                for (std::size_t at = err.find(what); at != std::string::npos;
                     at = err.find(what, at + 1)) {
                    ++n;
                }
                return n;
            };
            EXPECT_EQ(count("qzpack: warning:"), c.count) << err;
        }
    }
}

}  // namespace
}  // namespace qz::pack
