#include "engine/package_reader.h"

#include <gtest/gtest.h>

#include "support/memory_file_system.h"
#include "support/package_bytes.h"

namespace qz::test {
namespace {

struct HeaderCase {
    const char* what;
    std::string bytes;
    ReadResult result;
    std::int32_t count;  // checked when the header is accepted
};

TEST(PackageReader, HeaderCheckInOrderWithMissingBytesAsZero) {
    // The outcomes of whole packages are tested with the extraction; here the
    // decoding of the count and the order of the checks.
    const HeaderCase cases[] = {
        {"count 0x01020304 read little-endian", HeaderBytes(1, 'Q', 'Z', 0x01020304),
         ReadResult::kOk, 0x01020304},
        // 01 00 00 00 'Q' 'Z': the 22 missing bytes, nEntryCount among them, are zero.
        {"6 bytes", std::string("\x01\x00\x00\x00QZ", 6), ReadResult::kOk, 0},
        // Count bytes 00 00 00 80: the most negative value, signed.
        {"count 0x80000000",
         std::string("\x01\x00\x00\x00QZ", 6) + std::string(18, 'r') +
             std::string("\x00\x00\x00\x80", 4),
         ReadResult::kOk, INT32_MIN},
        {"a longer file: only 28 bytes count",
         HeaderBytes(1, 'Q', 'Z', 2) + "more bytes that are not the header", ReadResult::kOk, 2},
        // 01 00 00 01: 0x01000001, not 1.
        {"version with a high byte", std::string("\x01\x00\x00\x01QZ", 6), ReadResult::kBadVersion,
         0},
        {"version 2 and bad magic: version decides", HeaderBytes(2, 'x', 'x', 0),
         ReadResult::kBadVersion, 0},
        {"magic lower case", HeaderBytes(1, 'q', 'z', 0), ReadResult::kBadMagic, 0},
        {"file ends after the Q", std::string("\x01\x00\x00\x00Q", 5), ReadResult::kBadMagic, 0},
    };
    // Whole reads, and reads that deliver one byte at a time: same outcome.
    for (std::size_t limit : {std::size_t{0}, std::size_t{1}}) {
        for (const HeaderCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (limit ? ", one byte per read" : ""));
            MemoryFileSystem fs;
            fs.AddFile("p", c.bytes);
            fs.LimitReads(limit);
            auto stream = fs.OpenRead("p");
            PackageReader reader(*stream);
            PackageHeader header;
            EXPECT_EQ(reader.ReadHeader(&header), c.result);
            if (c.result == ReadResult::kOk) {
                EXPECT_EQ(header.nEntryCount, c.count);
            }
        }
    }
}

TEST(PackageReader, RecordsAreWholeOrRefused) {
    const std::string name = "dir\\\x81\x5c.txt";  // 81 5C: one GBK character
    const std::string record = EntryBytes(-2, name);
    MemoryFileSystem fs;
    fs.AddFile("whole", record + EntryBytes(7, "b"));
    fs.AddFile("short", record.substr(0, kEntrySize - 1));
    fs.AddFile("broken", record);
    fs.FailReadAt("broken", 100);
    fs.LimitReads(5);

    auto whole = fs.OpenRead("whole");
    PackageReader reader(*whole);
    PackageEntry entry;
    ASSERT_EQ(reader.ReadEntry(&entry), ReadResult::kOk);
    EXPECT_EQ(entry.nSize, -2);
    EXPECT_EQ(std::string(entry.szName, name.size() + 1), name + '\0');
    ASSERT_EQ(reader.ReadEntry(&entry), ReadResult::kOk);
    EXPECT_EQ(entry.nSize, 7);
    EXPECT_EQ(reader.ReadEntry(&entry), ReadResult::kShort);  // nothing left

    auto short_file = fs.OpenRead("short");
    EXPECT_EQ(PackageReader(*short_file).ReadEntry(&entry), ReadResult::kShort);
    auto broken = fs.OpenRead("broken");
    EXPECT_EQ(PackageReader(*broken).ReadEntry(&entry), ReadResult::kIoError);
}

TEST(PackageReader, DataComesInPiecesOfAtMost30720) {
    MemoryFileSystem fs;
    fs.AddFile("p", std::string(40000, 'x'));
    fs.FailReadAt("p", 35000);
    auto stream = fs.OpenRead("p");
    PackageReader reader(*stream);
    std::vector<char> buf(70000);
    EXPECT_EQ(reader.ReadData(buf.data(), 70000), 30720);
    EXPECT_EQ(reader.ReadData(buf.data(), 3), 3);
    EXPECT_EQ(reader.ReadData(buf.data(), 70000), 35000 - 30723);
    EXPECT_EQ(reader.ReadData(buf.data(), 70000), -1);
}

TEST(PackageReader, HeaderIoErrorIsNotAShortFile) {
    MemoryFileSystem fs;
    fs.AddFile("p", HeaderBytes(1, 'Q', 'Z', 0));
    fs.FailReadAt("p", 6);
    auto stream = fs.OpenRead("p");
    PackageHeader header;
    EXPECT_EQ(PackageReader(*stream).ReadHeader(&header), ReadResult::kIoError);
}

}  // namespace
}  // namespace qz::test
