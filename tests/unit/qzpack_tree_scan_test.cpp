// Finding the files to pack: names, order and refusals, on real folders.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "qzpack/host/source_files.h"
#include "support/qzpack_temp_tree.h"
#include "qzpack/package/tree_scan.h"

namespace qz::pack {
namespace {

using test::QzpackTempTree;

std::vector<std::string> Names(const std::vector<PackItem>& items) {
    std::vector<std::string> names;
    for (const PackItem& item : items) {
        names.push_back(item.name);
    }
    return names;
}

// Host names are written as u8 literals, the package names they must give as
// plain literals (GBK in this build) or byte escapes.
TEST(QzpackTreeScanTest, NamesAreGbkWithBackslashesInByteOrder) {
    QzpackTempTree tree;
    // Created out of order; the scan order must not depend on the disk's.
    tree.Write(u8"数据/配置.ini", "k=v");
    tree.Write(u8"z.txt", "zz");
    tree.Write(u8"乗/嘰.txt", "5c");
    tree.Write(u8"a/b/c.bin", "");
    tree.Write(u8"a.txt", "abc");
    tree.Write(u8"B.txt", "b");
    tree.MakeFolder(u8"empty/inner");

    std::vector<PackItem> items;
    std::string error;
    ASSERT_TRUE(ScanTree(tree.root(), &items, &error)) << error;
    // Byte order: "B" (42) < "a.txt" (2E after a) < "a\" (5C) < "z" < 0x81 (乗) < 0xCA (数).
    const std::vector<std::string> expected = {
        "B.txt",
        "a.txt",
        "a\\b\\c.bin",
        "z.txt",
        "\x81\x5c\\\x87\x5c.txt",  // 乗\嘰.txt: both characters end in byte 5C
        "数据\\配置.ini",
    };
    EXPECT_EQ(Names(items), expected);
    EXPECT_EQ(items[0].size, 1);
    EXPECT_EQ(items[1].size, 3);
    EXPECT_EQ(items[2].size, 0);
    EXPECT_EQ(items[5].size, 3);
    EXPECT_EQ(items[5].source, tree.Path(u8"数据/配置.ini"));
}

TEST(QzpackTreeScanTest, LinksToFilesAreFollowedAndEmptyFoldersLeftOut) {
    QzpackTempTree tree;
    tree.Write(u8"in/real.txt", "12345");
    ASSERT_EQ(symlink("real.txt", tree.Path(u8"in/link.txt").c_str()), 0);
    tree.MakeFolder(u8"in/nothing");

    std::vector<PackItem> items;
    std::string error;
    ASSERT_TRUE(ScanTree(tree.Path("in"), &items, &error)) << error;
    ASSERT_EQ(Names(items), (std::vector<std::string>{"link.txt", "real.txt"}));
    EXPECT_EQ(items[0].size, 5);
    // Read from the file the link leads to.
    EXPECT_EQ(items[0].source, std::filesystem::canonical(tree.Path("in/real.txt")).native());
}

// Hostile: links in the folder that lead out of it, to a key beside it. They
// are refused, naming the link and its target; a link that leaves and comes
// back in is followed.
TEST(QzpackTreeScanTest, LinksLeadingOutOfTheFolderAreRefused) {
    struct Case {
        const char* what;
        const char* link;   // in "in"
        const char* leads;  // the link's text
    };
    const std::vector<Case> cases = {
        {"a link to a file beside the folder", "key.pem", "../secret/key.pem"},
        {"an absolute link", "key.pem", nullptr},  // the key's absolute path
        {"a link to a link beside the folder", "hop.pem", "../secret/hop.pem"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QzpackTempTree tree;
        tree.Write("in/real.txt", "r");
        tree.Write("secret/key.pem", "KEY");
        ASSERT_EQ(symlink("key.pem", tree.Path("secret/hop.pem").c_str()), 0);
        const std::string key = std::filesystem::canonical(tree.Path("secret/key.pem")).string();
        const std::string leads = c.leads != nullptr ? c.leads : key;
        ASSERT_EQ(symlink(leads.c_str(), tree.Path(std::string("in/") + c.link).c_str()), 0);
        std::vector<PackItem> items;
        std::string error;
        EXPECT_FALSE(ScanTree(tree.Path("in"), &items, &error));
        EXPECT_NE(
            error.find(tree.Path(std::string("in/") + c.link).string() + ": a link to " + key),
            std::string::npos)
            << error;
        EXPECT_NE(error.find("outside"), std::string::npos) << error;
    }

    QzpackTempTree tree;
    tree.Write("in/real.txt", "r");
    ASSERT_EQ(symlink("../in/real.txt", tree.Path("in/back.txt").c_str()), 0);
    std::vector<PackItem> items;
    std::string error;
    ASSERT_TRUE(ScanTree(tree.Path("in"), &items, &error)) << error;
    EXPECT_EQ(Names(items), (std::vector<std::string>{"back.txt", "real.txt"}));
}

std::unique_ptr<ReadStream> Open(SourceFiles& sources, const PackItem& item) {
    return sources.Open(item.source, item.relative_at, item.identity);
}

// Hostile: between the scan and the packing, what was scanned is replaced:
// a file by a link to a key beside the folder, by a hard link of that key or
// by a FIFO; a folder by a link to the folder of the key. The packer opens
// none of them (and waits on no FIFO); the files it did scan still open,
// the item of a link that was checked among them.
TEST(QzpackTreeScanTest, WhatWasReplacedAfterTheScanIsNotOpened) {
    struct Case {
        const char* what;
        void (*swap)(const QzpackTempTree&);
        std::size_t refused;  // the item that no longer opens
    };
    const std::vector<Case> cases = {
        {"a file swapped for a link",
         [](const QzpackTempTree& t) {
             std::filesystem::remove(t.Path("in/a.txt"));
             ASSERT_EQ(symlink("../secret/key.pem", t.Path("in/a.txt").c_str()), 0);
         },
         0},
        {"a file swapped for a hard link",
         [](const QzpackTempTree& t) {
             std::filesystem::remove(t.Path("in/a.txt"));
             ASSERT_EQ(link(t.Path("secret/key.pem").c_str(), t.Path("in/a.txt").c_str()), 0);
         },
         0},
        {"a file swapped for a FIFO",
         [](const QzpackTempTree& t) {
             std::filesystem::remove(t.Path("in/a.txt"));
             ASSERT_EQ(mkfifo(t.Path("in/a.txt").c_str(), 0644), 0);
         },
         0},
        {"a folder swapped for a link",
         [](const QzpackTempTree& t) {
             std::filesystem::rename(t.Path("in/sub"), t.Path("moved"));
             ASSERT_EQ(symlink("../secret", t.Path("in/sub").c_str()), 0);
         },
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QzpackTempTree tree;
        tree.Write("in/a.txt", "a");
        tree.Write("in/real.txt", "r");
        tree.Write("in/sub/key.pem", "mine");
        ASSERT_EQ(symlink("real.txt", tree.Path("in/link.txt").c_str()), 0);
        tree.Write("secret/key.pem", "KEY");
        std::vector<PackItem> items;
        std::string error;
        ASSERT_TRUE(ScanTree(tree.Path("in"), &items, &error)) << error;
        ASSERT_EQ(Names(items),
                  (std::vector<std::string>{"a.txt", "link.txt", "real.txt", "sub\\key.pem"}));
        c.swap(tree);
        SourceFiles sources(tree.Path("in"));
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(Open(sources, items[i]) == nullptr, i == c.refused) << items[i].name;
        }
    }
}

TEST(QzpackTreeScanTest, LongestNameFitsAndOneMoreByteIsRefused) {
    // Two levels of 60 double-byte characters (120 bytes each in GBK, 180 in
    // UTF-8, within a host file name's limit) and a last level of letters:
    // 120 + 1 + 120 + 1 + 17 = 259 bytes in GBK.
    std::string level;
    for (int i = 0; i < 60; ++i) {
        level += u8"数";
    }
    const std::string host_259 = level + "/" + level + "/" + std::string(17, 'a');
    const std::string host_260 = level + "/" + level + "/" + std::string(18, 'a');

    QzpackTempTree fits;
    fits.Write(host_259, "");
    std::vector<PackItem> items;
    std::string error;
    ASSERT_TRUE(ScanTree(fits.root(), &items, &error)) << error;
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name.size(), 259u);

    QzpackTempTree too_long;
    too_long.Write(host_260, "");
    EXPECT_FALSE(ScanTree(too_long.root(), &items, &error));
    EXPECT_NE(error.find("260 bytes"), std::string::npos) << error;
}

TEST(QzpackTreeScanTest, RefusesFilesThatCannotBeInstalled) {
    struct Case {
        const char* host_name;  // UTF-8
        const char* message;
    };
    const std::vector<Case> cases = {
        {u8"emoji-😀.txt", "cannot be represented in GBK"},
        {u8"한국어.txt", "cannot be represented in GBK"},
        {"bad-\xff\xfe-utf8.txt", "cannot be represented in GBK"},
        {"CON", "device"},
        {"sub/nul.txt", "device"},
        {"Com1 .log", "device"},
        {"trailing-dot.", "dot or a space"},
        {"trailing-space ", "dot or a space"},
        {"dots../x", "dot or a space"},
        {"drive:stream", "colon"},
        {"back\\slash", "cannot hold"},
        {"install.log", "has install.log as its first level"},
        {"Install.Log", "has install.log as its first level"},
        {"INSTALL.LOG/x.txt", "has install.log as its first level"},
        {"question?.txt", "cannot hold"},
        {"star*.txt", "cannot hold"},
        {"pipe|.txt", "cannot hold"},
        {"quote\".txt", "cannot hold"},
        {"angle<.txt", "cannot hold"},
        {"control\x01.txt", "control"},
    };
    for (const Case& c : cases) {
        QzpackTempTree tree;
        tree.Write("fine.txt", "ok");
        tree.Write(c.host_name, "x");
        std::vector<PackItem> items;
        std::string error;
        EXPECT_FALSE(ScanTree(tree.root(), &items, &error)) << c.host_name;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.host_name << ": " << error;
        // The message names the file.
        const std::string leaf = std::filesystem::u8path(c.host_name).filename().string();
        EXPECT_NE(error.find(leaf), std::string::npos) << c.host_name << ": " << error;
    }
}

TEST(QzpackTreeScanTest, RefusesNamesThatClashOnWindows) {
    struct Case {
        std::vector<const char*> files;
        bool refused;
    };
    const std::vector<Case> cases = {
        {{"Readme.txt", "README.TXT"}, false},     // a warning of create's, not a refusal
        {{"dir/a.txt", "DIR/b.txt", "x"}, false},  // one folder on Windows, two files in it
        {{"Data", "data/inner.bin"}, true},        // a file where a folder must be
        {{"top/data/x.txt", "top/DATA"}, true},
        // 丂 (81 41) and 乣 (81 61): second bytes that look like A and a, yet
        // two different characters.
        {{"\xe4\xb8\x82.txt", "\xe4\xb9\xa3.txt"}, false},
    };
    for (const Case& c : cases) {
        QzpackTempTree tree;
        for (const char* file : c.files) {
            tree.Write(file, file);
        }
        std::vector<PackItem> items;
        std::string error;
        EXPECT_EQ(ScanTree(tree.root(), &items, &error), !c.refused) << c.files[0] << ": " << error;
        if (c.refused) {
            // Both source files are named.
            EXPECT_NE(error.find(c.files[0]), std::string::npos) << error;
            EXPECT_NE(error.find(c.files[1]), std::string::npos) << error;
            EXPECT_NE(error.find("needs a folder"), std::string::npos) << error;
        }
    }
}

TEST(QzpackTreeScanTest, RefusesWhatIsNotARegularFile) {
    struct Case {
        const char* what;
        void (*make)(const QzpackTempTree&);
        const char* message;
    };
    const std::vector<Case> cases = {
        {"link to a folder",
         [](const QzpackTempTree& t) {
             t.MakeFolder("real");
             ASSERT_EQ(symlink("real", t.Path("alias").c_str()), 0);
         },
         "link to a directory"},
        {"broken link",
         [](const QzpackTempTree& t) {
             ASSERT_EQ(symlink("nowhere", t.Path("dangling").c_str()), 0);
         },
         "broken link"},
        {"named pipe",
         [](const QzpackTempTree& t) { ASSERT_EQ(mkfifo(t.Path("pipe").c_str(), 0644), 0); },
         "not a regular file"},
    };
    for (const Case& c : cases) {
        QzpackTempTree tree;
        c.make(tree);
        std::vector<PackItem> items;
        std::string error;
        EXPECT_FALSE(ScanTree(tree.root(), &items, &error)) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
    }

    QzpackTempTree tree;
    std::vector<PackItem> items;
    std::string error;
    EXPECT_FALSE(ScanTree(tree.Path("missing"), &items, &error));
    EXPECT_NE(error.find("not a folder"), std::string::npos) << error;
}

}  // namespace
}  // namespace qz::pack
