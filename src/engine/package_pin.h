// The pin of a package: the size and SHA-256 of the one data.dat that a pinned
// setup program installs, as the build compiles them into the program, and the
// check of an open package against them.
#pragma once

#include <cstdint>

#include "common/file_system.h"
#include "common/sha256.h"

namespace qz {

// The pin as it lies in a pinned program: 48 bytes, found by their first 8.
struct PinRecord {
    char marker[8];                     // "QZPIN256"
    unsigned char size[8];              // the package's size in bytes, little-endian
    unsigned char digest[kSha256Size];  // the SHA-256 of the package's bytes
};
static_assert(sizeof(PinRecord) == 48, "the pin record is 48 bytes");

struct PackagePin {
    std::uint64_t size = 0;
    Sha256Digest digest{};
};

// The size and digest of a record (its marker is not looked at).
PackagePin DecodePin(const PinRecord& record);

enum class PinCheck {
    kMatch,          // the size and every byte's digest are the pin's
    kSizeDiffers,    // the system's size, or the bytes read, are not the pin's size
    kDigestDiffers,  // the bytes hash to another digest
    kUnreadable,     // a read failed
    kCannotHash,     // the system could not hash
};

// Checks a package against `pin`: first `file_size`, the size the system
// reports for the open file (nothing is read when it differs), then every
// byte of `stream`, read from where it stands to its end and added to `hash`
// (null: the system cannot hash, and the package is refused). kMatch only when
// the bytes read are as many as the pin says and hash to its digest.
PinCheck CheckPackagePin(const PackagePin& pin, std::uint64_t file_size, ReadStream& stream,
                         Sha256* hash);

}  // namespace qz
