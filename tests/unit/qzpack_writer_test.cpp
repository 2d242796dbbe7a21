// The package writer, on sources and an output in memory.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/file_system_posix.h"
#include "qzpack/host/host_file.h"
#include "qzpack/package/package_writer.h"
#include "support/memory_file_system.h"
#include "support/package_bytes.h"
#include "support/qzpack_temp_tree.h"

namespace qz::pack {
namespace {

using test::EntryBytes;
using test::HeaderBytes;
using test::PackageBytes;

struct WriteRun {
    MemoryFileSystem sources;
    MemoryFileSystem out_fs;
    std::string error;
    std::vector<std::int64_t> progress;

    // Each item is read from the memory file of its own name.
    bool Write(const std::vector<PackItem>& items) {
        std::unique_ptr<WriteStream> out = out_fs.CreateWrite("data.dat");
        const bool ok = WritePackage(
            items, *out, [this](const PackItem& item) { return sources.OpenRead(item.name); },
            [this](std::int64_t done) { progress.push_back(done); }, &error);
        out->Close();
        return ok;
    }
    std::string Bytes() const { return out_fs.FileContents("data.dat"); }
};

PackItem Item(const std::string& name, std::int64_t size) {
    PackItem item;
    item.name = name;
    item.source = name;
    item.size = size;
    return item;
}

TEST(QzpackWriterTest, WritesTheTwoEntryExampleByteForByte) {
    WriteRun run;
    run.sources.AddFile("a.txt", "abc");
    run.sources.AddFile("sub\\b.bin", "");
    ASSERT_TRUE(run.Write({Item("a.txt", 3), Item("sub\\b.bin", 0)})) << run.error;

    const std::string bytes = run.Bytes();
    EXPECT_EQ(bytes.size(), 559u);
    EXPECT_EQ(bytes, PackageBytes({{"a.txt", "abc"}, {"sub\\b.bin", ""}}));
    // The landmarks of the layout: entry 1 at 292, the data area at 556.
    EXPECT_EQ(bytes.substr(292, 4 + 10), EntryBytes(0, "sub\\b.bin").substr(0, 14));
    EXPECT_EQ(bytes.substr(556), "abc");
}

TEST(QzpackWriterTest, AnEmptyListGivesAHeaderOnly) {
    WriteRun run;
    ASSERT_TRUE(run.Write({})) << run.error;
    EXPECT_EQ(run.Bytes(), HeaderBytes(1, 'Q', 'Z', 0));
}

TEST(QzpackWriterTest, StreamsLargeFilesThroughShortReadsAndReportsProgress) {
    WriteRun run;
    std::string big(300001, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 7 + i / 251);
    }
    run.sources.AddFile("big.bin", big);
    run.sources.AddFile("\x81\x5c.txt", "x");  // 乗.txt
    run.sources.LimitReads(1000);
    ASSERT_TRUE(run.Write({Item("big.bin", 300001), Item("\x81\x5c.txt", 1)})) << run.error;

    EXPECT_EQ(run.Bytes(), PackageBytes({{"big.bin", big}, {"\x81\x5c.txt", "x"}}));
    ASSERT_FALSE(run.progress.empty());
    EXPECT_EQ(run.progress.back(), 300002);
    for (std::size_t i = 1; i < run.progress.size(); ++i) {
        EXPECT_GT(run.progress[i], run.progress[i - 1]);
    }
}

TEST(QzpackWriterTest, RefusesWhatAPackageCannotCarry) {
    struct Case {
        const char* what;
        std::vector<PackItem> items;
        const char* message;
    };
    const std::string longest(259, 'n');
    const std::vector<Case> cases = {
        {"name of 260 bytes leaves no room for the NUL", {Item(longest + "n", 0)}, "does not fit"},
        {"empty name", {Item("", 0)}, "does not fit"},
        {"negative size", {Item("a", -1)}, "negative size"},
        {"sizes above 2,147,483,647 together",
         {Item("a", 0x40000000), Item("b", 0x40000000)},
         "more than 2,147,483,647"},
    };
    for (const Case& c : cases) {
        WriteRun run;
        EXPECT_FALSE(run.Write(c.items)) << c.what;
        EXPECT_NE(run.error.find(c.message), std::string::npos) << c.what << ": " << run.error;
        // Refused before anything was written.
        EXPECT_EQ(run.Bytes(), "") << c.what;
    }
    WriteRun fits;
    fits.sources.AddFile(longest, "");
    EXPECT_TRUE(fits.Write({Item(longest, 0)})) << fits.error;
}

TEST(QzpackWriterTest, RefusesSourcesThatChangedOrFail) {
    struct Case {
        const char* what;
        std::string contents;  // of "f"
        std::int64_t size;     // what the item says
        bool present;
        const char* message;
    };
    const std::int64_t piece = 128 * 1024;
    const std::vector<Case> cases = {
        {"source shrank", "abc", 4, true, "shorter"},
        {"source grew", "abcde", 4, true, "longer"},
        // Whole pieces of the copy fill the item exactly: only a read past
        // its end sees the growth.
        {"source grew past whole pieces", std::string(2 * piece + 1, 'g'), 2 * piece, true,
         "longer"},
        {"source gone", "", 4, false, "cannot be opened"},
    };
    for (const Case& c : cases) {
        WriteRun run;
        if (c.present) {
            run.sources.AddFile("f", c.contents);
        }
        EXPECT_FALSE(run.Write({Item("f", c.size)})) << c.what;
        EXPECT_NE(run.error.find(c.message), std::string::npos) << c.what << ": " << run.error;
    }

    WriteRun io_error;
    io_error.sources.AddFile("f", "abcd");
    io_error.sources.FailReadAt("f", 2);
    EXPECT_FALSE(io_error.Write({Item("f", 4)}));
    EXPECT_NE(io_error.error.find("read error"), std::string::npos) << io_error.error;
}

TEST(QzpackWriterTest, AFailedWriteIsReported) {
    // Call 1 writes the header, 2 the record, 3 the data.
    for (int failing_call = 1; failing_call <= 3; ++failing_call) {
        WriteRun run;
        run.sources.AddFile("f", "data");
        run.out_fs.FailWriteCall(failing_call);
        EXPECT_FALSE(run.Write({Item("f", 4)})) << "call " << failing_call;
        EXPECT_EQ(run.error, "cannot write the package") << "call " << failing_call;
    }
}

// On disk, as qzpack create writes. The file's bytes are copied by the
// kernel where its offsets in the file and in the package agree within a
// page (after a padding file of 3540 bytes, the data of "f" begins at 4096),
// else read and written. Either way a source that grew or shrank is refused,
// and the package holds exactly the bytes before the fault: never one past
// the size.
TEST(QzpackWriterTest, OnDiskNoByteBeyondTheSizeLandsCopiedOrRead) {
    const std::size_t piece = 128 * 1024;
    struct Case {
        const char* what;
        std::size_t length;   // of the file
        std::int64_t size;    // what the item says
        const char* message;  // nullptr: written
        std::size_t carried;  // data bytes of "f" in the package
    };
    const std::vector<Case> cases = {
        {"exact: whole pieces and a tail", 2 * piece + 7, 2 * piece + 7, nullptr, 2 * piece + 7},
        {"exact: whole pieces only", 2 * piece, 2 * piece, nullptr, 2 * piece},
        {"grew past whole pieces", 2 * piece + 1, 2 * piece, "longer", 2 * piece},
        {"grew inside the tail", piece + 6, piece + 5, "longer", piece},
        {"shrank inside a whole piece", 2 * piece - 1, 2 * piece, "shorter", 2 * piece - 1},
    };
    const std::string pad(3540, 'p');
    for (const Case& c : cases) {
        for (const bool in_step : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (in_step ? ", copied" : ", read"));
            test::QzpackTempTree tree;
            std::string contents(c.length, '\0');
            for (std::size_t i = 0; i < contents.size(); ++i) {
                contents[i] = static_cast<char>(i * 31 + i / 4093);
            }
            tree.Write("in/f", contents);
            tree.Write("in/pad", pad);
            std::vector<PackItem> items = {Item("f", c.size)};
            if (in_step) {
                items.insert(items.begin(), Item("pad", static_cast<std::int64_t>(pad.size())));
            }
            PosixFileSystem sources(tree.Path("in").string());
            std::filesystem::path made;
            std::unique_ptr<WriteStream> out = CreateHostTemp(tree.Path("p.dat"), &made);
            ASSERT_NE(out, nullptr);
            std::string error;
            const bool written = WritePackage(
                items, *out,
                [&sources](const PackItem& item) { return sources.OpenRead(item.name); }, nullptr,
                &error);
            EXPECT_TRUE(out->Close());
            EXPECT_EQ(written, c.message == nullptr) << error;
            if (c.message != nullptr) {
                EXPECT_NE(error.find(c.message), std::string::npos) << error;
            }
            std::string expected =
                HeaderBytes(1, 'Q', 'Z', static_cast<std::int32_t>(items.size()));
            for (const PackItem& item : items) {
                expected += EntryBytes(static_cast<std::int32_t>(item.size), item.name);
            }
            expected += (in_step ? pad : "") + contents.substr(0, c.carried);
            const std::string package = tree.Read(made.lexically_relative(tree.root()).string());
            EXPECT_TRUE(package == expected) << package.size() << " bytes, not " << expected.size();
        }
    }
}

}  // namespace
}  // namespace qz::pack
