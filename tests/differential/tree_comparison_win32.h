// An installed tree held against the tree qzpack extract made from the same
// package. Names are resolved by the file system, as Windows resolves them:
// two spellings of one name in the package land on one file, the later entry's
// bytes in it, while the POSIX tree keeps them apart.
#pragma once

#include <string>
#include <vector>

namespace qz::diff {

// What differs, one line each; empty when the trees agree. Both folders end
// with a backslash and are full paths; the installed tree's paths stay within
// Windows' 259 bytes, while qzpack's tree may lie at any depth. The expected tree's install.log
// gives the entries in directory order; every entry must resolve to an installed file holding the
// bytes of the last entry that resolves to it, install.log must be the same,
// and the installed tree must hold no file or folder besides.
std::vector<std::string> TreeDifferences(const std::string& installed, const std::string& expected);

}  // namespace qz::diff
