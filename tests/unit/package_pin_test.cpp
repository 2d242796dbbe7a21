#include "engine/package_pin.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/memory_file_system.h"

namespace qz::test {
namespace {

// A stand-in for the system's SHA-256 (whose own vectors are checked under
// Wine): every byte is mixed into the slot of its position, so a changed,
// missing or extra byte gives another digest. It can be told to fail.
class StandInHash : public Sha256 {
  public:
    bool fail_add = false;
    bool fail_finish = false;

    bool Add(const void* bytes, std::size_t n) override {
        const auto* p = static_cast<const unsigned char*>(bytes);
        for (std::size_t i = 0; i < n; ++i, ++m_count) {
            unsigned char& slot = m_digest[m_count % kSha256Size];
            slot = static_cast<unsigned char>(slot * 31 + p[i] + 1);
        }
        return !fail_add;
    }
    bool Finish(Sha256Digest* digest) override {
        *digest = m_digest;
        return !fail_finish;
    }

  private:
    Sha256Digest m_digest{};
    std::size_t m_count = 0;
};

Sha256Digest StandInDigest(const std::string& bytes) {
    StandInHash hash;
    hash.Add(bytes.data(), bytes.size());
    Sha256Digest digest;
    hash.Finish(&digest);
    return digest;
}

TEST(PackagePin, RecordSizeIsLittleEndianAndDigestIsCopied) {
    PinRecord record{};
    // Size bytes 01 02 ... 08, lowest first: 0x0807060504030201.
    for (int i = 0; i < 8; ++i) {
        record.size[i] = static_cast<unsigned char>(i + 1);
    }
    for (std::size_t i = 0; i < kSha256Size; ++i) {
        record.digest[i] = static_cast<unsigned char>(0xA0 + i);
    }
    const PackagePin pin = DecodePin(record);
    EXPECT_EQ(pin.size, 0x0807060504030201u);
    EXPECT_EQ(pin.digest[0], 0xA0);
    EXPECT_EQ(pin.digest[31], 0xA0 + 31);
}

struct PinCase {
    const char* what;
    std::string file;             // the bytes on disk
    std::int64_t reported_extra;  // added to the file's size as the system reports it
    std::int64_t fail_read_at;    // a read fails after this many bytes; -1: never
    std::size_t read_limit;       // bytes per read at most; 0: no limit
    bool no_hash, fail_add, fail_finish;
    PinCheck expected;
};

TEST(PackagePin, OnlyThePinnedBytesMatch) {
    // The pin is taken of `pinned`, 100000 bytes.
    std::string pinned(100000, '\0');
    for (std::size_t i = 0; i < pinned.size(); ++i) {
        pinned[i] = static_cast<char>(i * 13 + i / 7);
    }
    std::string changed = pinned;
    changed[70000] ^= 0x01;  // one bit of one byte in the middle
    const PinCase cases[] = {
        {"the pinned bytes", pinned, 0, -1, 0, false, false, false, PinCheck::kMatch},
        {"the pinned bytes in short reads", pinned, 0, -1, 4097, false, false, false,
         PinCheck::kMatch},
        {"one byte changed", changed, 0, -1, 0, false, false, false, PinCheck::kDigestDiffers},
        {"one byte appended", pinned + "x", 0, -1, 0, false, false, false, PinCheck::kSizeDiffers},
        // The system reports another size: refused before any byte is read
        // (a read would fail here and give kUnreadable).
        {"another size, nothing read", pinned, 1, 0, 0, false, false, false,
         PinCheck::kSizeDiffers},
        // The system's size is the pin's, yet the file ends one byte early.
        {"the file ends early", pinned.substr(0, pinned.size() - 1), 1, -1, 0, false, false, false,
         PinCheck::kSizeDiffers},
        {"a read fails", pinned, 0, 50000, 0, false, false, false, PinCheck::kUnreadable},
        {"no hash from the system", pinned, 0, -1, 0, true, false, false, PinCheck::kCannotHash},
        {"hashing fails", pinned, 0, -1, 0, false, true, false, PinCheck::kCannotHash},
        {"the digest cannot be taken", pinned, 0, -1, 0, false, false, true, PinCheck::kCannotHash},
    };
    PackagePin pin;
    pin.size = pinned.size();
    pin.digest = StandInDigest(pinned);
    for (const PinCase& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryFileSystem fs;
        fs.AddFile("data.dat", c.file);
        if (c.fail_read_at >= 0) {
            fs.FailReadAt("data.dat", c.fail_read_at);
        }
        fs.LimitReads(c.read_limit);
        std::unique_ptr<ReadStream> stream = fs.OpenRead("data.dat");
        ASSERT_NE(stream, nullptr);
        StandInHash hash;
        hash.fail_add = c.fail_add;
        hash.fail_finish = c.fail_finish;
        const std::uint64_t reported = c.file.size() + static_cast<std::uint64_t>(c.reported_extra);
        EXPECT_EQ(CheckPackagePin(pin, reported, *stream, c.no_hash ? nullptr : &hash), c.expected);
    }
}

}  // namespace
}  // namespace qz::test
