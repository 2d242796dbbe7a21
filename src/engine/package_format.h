// The package file data.dat: a 28-byte header, nEntryCount directory records of
// 264 bytes, then the bytes of every file back to back in directory order.
// Integers are 32-bit signed little-endian. Records are decoded from bytes
// explicitly, never by copying them onto these structures.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qz {

constexpr std::size_t kHeaderSize = 28, kEntrySize = 264, kNameSize = 260;
constexpr std::int32_t kPackageVersion = 1;
constexpr char kPackageMagic0 = 'Q', kPackageMagic1 = 'Z';

struct PackageHeader {
    std::int32_t nVersion;     // must be 1
    char chMagic[2];           // 'Q', 'Z'
    char reserved[18];         // never read
    std::int32_t nEntryCount;  // 0 or less: no files
};
static_assert(sizeof(PackageHeader) == kHeaderSize, "the header is 28 bytes");

struct PackageEntry {
    std::int32_t nSize;      // bytes of this file in the data area; 0 or less: empty file
    char szName[kNameSize];  // path relative to the install directory, GBK, NUL-terminated
};
static_assert(sizeof(PackageEntry) == kEntrySize, "a directory record is 264 bytes");

// Decoding from the file's bytes (exactly kHeaderSize / kEntrySize of them).
PackageHeader DecodeHeader(const unsigned char* bytes);
PackageEntry DecodeEntry(const unsigned char* bytes);

// Encoding into the file's bytes (exactly kHeaderSize / kEntrySize of them),
// for the package tool.
void EncodeHeader(const PackageHeader& header, unsigned char* bytes);
void EncodeEntry(const PackageEntry& entry, unsigned char* bytes);

}  // namespace qz
