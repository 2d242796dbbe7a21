// The room a package leaves for the install directory: how long a directory
// may be for every path the extraction makes below it to fit Windows' limits.
// The installer checks it before the first write, and `qzpack verify` prints
// it, so the two agree.
#pragma once

#include <cstddef>

#include "common/constants.h"
#include "engine/entry_rules.h"

namespace qz {

// The longest path of a file, and of a folder, in bytes without the
// terminating NUL, that the file layer creates.
struct PathLimits {
    std::size_t file = kMaxPath - 1;
    std::size_t folder = kMaxFolderPath - 1;
};

// The longest install directory, in bytes and ending with its backslash, for
// which every file of the accepted directory `check` (install.log among them)
// has a path within limits.file and every folder (the install directory
// itself and each a name holds below it) one within limits.folder; 0 when no
// directory fits.
std::size_t InstallDirRoom(const EntryCheck& check, const PathLimits& limits);

}  // namespace qz
