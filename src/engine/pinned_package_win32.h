// The package as a pinned setup program opens it: read once, copied while it
// is hashed into a private file, and extracted from that copy only when the
// hash matched the pin, so that the bytes installed are the bytes hashed
// whatever the source delivers on a second read (a share, a user-mode file
// system, a device). Windows only; the header needs no Windows headers.
#pragma once

#include <memory>

#include "common/file_system.h"
#include "engine/package_pin.h"

namespace qz {

enum class PinnedOpen {
    kOpened,      // the package or, refused, a stream that delivers no byte
    kNotOpened,   // the file cannot be opened, as for an unpinned program
    kCopyFailed,  // the private copy could not be made or written
};

// Opens `path` for reading without sharing, as the setup program opens
// data.dat, and reads it once: each piece goes to the system's SHA-256 and to
// a private copy (a file opened without sharing and deleted on close, in a
// fresh folder of random name under the temporary folder). Sets *status and
// returns:
//  - on a match of the size and digest (CheckPackagePin), the copy from its
//    first byte; the folder and the copy go when the stream is destroyed;
//  - a stream that delivers no byte when the file is no disk file, has
//    another size or digest, cannot be read, or the system cannot hash: the
//    reader finds an all-zero header in it and refuses the package as it
//    refuses a bad header (the format message, result 2);
//  - null with kNotOpened or kCopyFailed.
// Nothing stays in the temporary folder once the stream is gone, or at once
// when none is returned. Throws only for want of memory.
std::unique_ptr<ReadStream> OpenPinnedPackage(const char* path, const PackagePin& pin,
                                              PinnedOpen* status);

}  // namespace qz
