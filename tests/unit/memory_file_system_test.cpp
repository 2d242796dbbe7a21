#include "common/memory_file_system.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

// The extraction tests rely on these behaviours of the in-memory disk.
TEST(MemoryFileSystem, BehavesLikeADisk) {
    MemoryFileSystem fs;
    EXPECT_TRUE(fs.HasDirectory("C:\\"));
    EXPECT_FALSE(fs.CreateDirectory("C:\\"));        // a drive root exists
    EXPECT_FALSE(fs.CreateDirectory("C:\\a\\b\\"));  // parent missing
    EXPECT_EQ(fs.CreateWrite("C:\\a\\f"), nullptr);  // parent missing
    EXPECT_TRUE(fs.CreateDirectory("C:\\a\\"));
    EXPECT_FALSE(fs.CreateDirectory("C:\\a"));    // exists
    EXPECT_EQ(fs.CreateWrite("C:\\a"), nullptr);  // a directory
    EXPECT_EQ(fs.CreateWrite("C:\\a\\f\\"), nullptr);

    auto w = fs.CreateWrite("C:\\a\\f");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(fs.CreateWrite("C:\\a\\f"), nullptr);  // open without sharing
    EXPECT_EQ(fs.OpenRead("C:\\a\\f"), nullptr);
    EXPECT_TRUE(w->Write("abc", 3));
    EXPECT_TRUE(w->Close());
    EXPECT_TRUE(w->Close());
    EXPECT_FALSE(w->Write("d", 1));  // closed
    EXPECT_EQ(fs.FileContents("C:\\a\\f"), "abc");
    EXPECT_EQ(fs.open_streams(), 0);

    auto again = fs.CreateWrite("C:\\a\\f");  // truncates
    EXPECT_EQ(fs.FileContents("C:\\a\\f"), "");
}

TEST(MemoryFileSystem, Faults) {
    MemoryFileSystem fs;
    fs.SetCapacity(5);
    fs.FailWriteCall(2);
    auto w = fs.CreateWrite("f");
    EXPECT_TRUE(w->Write("ab", 2));
    EXPECT_FALSE(w->Write("cd", 2));    // the second call fails, writes nothing
    EXPECT_FALSE(w->Write("cdef", 4));  // only 3 fit
    EXPECT_EQ(fs.FileContents("f"), "abcde");

    fs.AddFile("r", "0123456789");
    fs.FailReadAt("r", 4);
    fs.LimitReads(3);
    auto r = fs.OpenRead("r");
    char buf[16];
    EXPECT_EQ(r->Read(buf, sizeof buf), 3);
    EXPECT_EQ(r->Read(buf, sizeof buf), 1);
    EXPECT_EQ(r->Read(buf, sizeof buf), -1);
}

}  // namespace
}  // namespace qz::test
