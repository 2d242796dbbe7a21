// The package as a pinned setup program opens it: once, checked against the
// pin before the reader sees a byte of it. Windows only; the header needs no
// Windows headers.
#pragma once

#include <memory>

#include "common/file_system.h"
#include "engine/package_pin.h"

namespace qz {

// Opens `path` for reading without sharing, as the setup program opens
// data.dat, and checks its size and SHA-256 against `pin` (CheckPackagePin,
// the hash from the system). Returns:
//  - null when the file cannot be opened, as for an unpinned program;
//  - on a match, the open file, moved back to its first byte;
//  - otherwise (another size or digest, a failed read, no hash from the
//    system) a stream that delivers no byte: the reader finds an all-zero
//    header in it and refuses the package as it refuses a bad header (the
//    format message, result 2), before anything is written.
// Throws only for want of memory.
std::unique_ptr<ReadStream> OpenPinnedPackage(const char* path, const PackagePin& pin);

}  // namespace qz
