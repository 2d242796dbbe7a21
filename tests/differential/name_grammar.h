// Random packages whose names are put together from the pieces Windows treats
// specially: ASCII, GBK double-byte characters (some with the trail byte 0x5C),
// full-width, Greek and Cyrillic letters and Roman numerals in either case,
// trailing dots and spaces, device names with and without extensions,
// forbidden characters, levels near 255 characters and names near 259 bytes,
// install.log at various depths, a file and a folder of one name, duplicates.
// Most packages are a few entries of a few bytes, so that many of them install
// in a short run.
#pragma once

#include <vector>

#include "differential/random_source.h"
#include "support/package_bytes.h"

namespace qz::diff {

std::vector<test::TestFile> RandomPackage(RandomSource& random);

}  // namespace qz::diff
