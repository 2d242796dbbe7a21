// Writes a package: the 28-byte header (version 1, "QZ", 18 zero bytes, the
// count), one 264-byte record per item (its size, then its name padded with
// zero bytes to 260), then each item's bytes in the same order. The data is
// streamed, so memory use does not grow with the files' sizes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "qzpack/host/file_identity.h"

namespace qz::pack {

// One file to carry.
struct PackItem {
    std::string name;  // package name: GBK, backslashes, at most 259 bytes
    // Where its bytes are read from: a host path, kept as its bare text (a
    // path object would hold each of its levels apart, for every file).
    std::filesystem::path::string_type source;
    // Where in source the levels below the packed folder begin: the file is
    // opened from that folder, level by level.
    std::size_t relative_at = 0;
    FileIdentity identity;  // the file the scan measured; another is not read
    // The file's names (hard links); 0 for an item read through a link, whose
    // file is an item of its own.
    std::uint64_t links = 1;
    std::int64_t size = 0;  // the bytes to carry; the source must hold exactly these
};

// Opens an item's source; null when it cannot be opened.
using SourceOpener = std::function<std::unique_ptr<ReadStream>(const PackItem&)>;
// Told the number of data bytes written so far, after every piece.
using ByteProgress = std::function<void(std::int64_t done)>;

// Writes the package for items, in their order, to out (which it does not
// close). True on success; false with *error saying what failed and for which
// item: a name or size that a package cannot carry, a source that cannot be
// opened or read, a source shorter or longer than its size (changed since it
// was measured), or a failed write.
bool WritePackage(const std::vector<PackItem>& items, WriteStream& out, const SourceOpener& open,
                  const ByteProgress& progress, std::string* error);

}  // namespace qz::pack
