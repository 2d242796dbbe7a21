// Finds the files to pack under a folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/entry_rules.h"
#include "qzpack/package/package_writer.h"

namespace qz::pack {

// Collects every regular file below folder as a package item named by its
// path relative to folder, in GBK with backslashes, sorted by the byte order
// of those GBK names, so that the same tree always gives the same package. A
// link to a file inside folder is followed: its item is read from the file it
// leads to. Directories are not items: an empty directory is not carried.
//
// False, with *error naming the file, when a file cannot be carried: its name
// cannot be represented in GBK, holds a backslash, or is longer than 259 bytes
// in GBK; it is a link to a directory, a broken link, a link to a file outside
// folder (the refusal names the link and its target) or not a regular file; or
// the folder cannot be read. Then the installer's own directory check
// (engine/entry_rules.h) decides on the names and the total: a refusal names
// the source file, or both files when one needs the other's name as a folder.
// *check, when given, receives that check's result (its case twins among it).
bool ScanTree(const std::filesystem::path& folder, std::vector<PackItem>* items, std::string* error,
              EntryCheck* check = nullptr);

// One warning for each item that is a hard link of a file with names outside
// folder (more names than the scan met): the file is someone else's as well,
// perhaps one the publisher never meant to ship.
std::vector<std::string> HardLinkWarnings(const std::vector<PackItem>& items,
                                          const std::filesystem::path& folder);

}  // namespace qz::pack
