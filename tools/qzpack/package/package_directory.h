// Reading a package's header and directory for list and verify, with the
// engine's reader, and saying what went wrong in words.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/package_format.h"
#include "engine/package_reader.h"

namespace qz::pack {

struct PackageDirectory {
    ReadResult header_result = ReadResult::kOk;
    PackageHeader header = {};
    // The records read, in directory order; all of them when entries_result is kOk.
    std::vector<std::unique_ptr<PackageEntry>> entries;
    ReadResult entries_result = ReadResult::kOk;
};

// Reads the header and, when it is accepted, every record it announces (none
// when the count is 0 or less). Stops at the first record that fails.
PackageDirectory ReadPackageDirectory(PackageReader& reader);

// What is wrong, when header_result or entries_result is not kOk.
std::string DirectoryProblem(const PackageDirectory& directory);

// An entry's name as stored: up to its NUL, or all 260 bytes when it has none.
std::string EntryName(const PackageEntry& entry);

}  // namespace qz::pack
