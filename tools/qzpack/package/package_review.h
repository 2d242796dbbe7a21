// What installs but may surprise: the warnings of create and verify, and the
// room the package leaves for the install directory.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/entry_rules.h"

namespace qz::pack {

struct PackageReview {
    // The longest install directory (ending with its backslash) for which
    // every file's full path, install.log's included, stays within 259 bytes.
    std::size_t room = 0;
    // One line each, as the terminal shows them: names that differ only in
    // letter case, names whose levels split otherwise under a single-byte
    // code page (a GBK trail byte 5C), a package the installer refuses
    // under code page 1252 (a level of more than 255 characters there, two
    // names that fold to one), the product's programs that are missing, too
    // little room for the usual install directory.
    std::vector<std::string> warnings;
};

// names: the GBK names in directory order; check: ValidateDirectory's
// accepting result for them (its case twins and longest name).
PackageReview ReviewPackage(const std::vector<std::string>& names, const EntryCheck& check);

}  // namespace qz::pack
