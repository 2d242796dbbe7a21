// What installs but may surprise: the warnings of create and verify, and the
// room the package leaves for the install directory.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/entry_rules.h"

namespace qz::pack {

struct PackageReview {
    // The longest install directory (ending with its backslash) for which
    // every file's full path, install.log's included, stays within 259 bytes
    // and every folder's within 247 (InstallDirRoom).
    std::size_t room = 0;
    // One line each, as the terminal shows them: names that differ only in
    // letter case, names whose levels split otherwise under a single-byte
    // code page (a GBK trail byte 5C), a package the installer refuses
    // under code page 1252 (a level of more than 255 characters there, two
    // names that fold to one), the product's programs that are missing or
    // are no Windows program for x86 or x64, too little room for the usual
    // install directory.
    std::vector<std::string> warnings;
};

// What a review knows of the entries beyond their names.
struct ReviewSources {
    // How a warning names entry i: create names its source file, verify its
    // index and name.
    std::function<std::string(std::size_t)> describe;
    // The first bytes (windows_program.h) of each entry ProgramEntries gave,
    // by index; a missing one is taken for no program.
    std::map<std::size_t, std::string> heads;
};

// The entries that install as the product's programs, in directory order:
// for each program present, its last entry of that name (letter case aside),
// the one that stays on Windows.
std::vector<std::size_t> ProgramEntries(const std::vector<std::string>& names);

// names: the GBK names in directory order; check: ValidateDirectory's
// accepting result for them (its case twins and longest name).
PackageReview ReviewPackage(const std::vector<std::string>& names, const EntryCheck& check,
                            const ReviewSources& sources);

}  // namespace qz::pack
