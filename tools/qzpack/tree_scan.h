// Finds the files to pack under a folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "package_writer.h"

namespace qz::pack {

// Collects every regular file below folder (links to files are followed) as a
// package item named by its path relative to folder, in GBK with backslashes,
// sorted by the byte order of those GBK names, so that the same tree always
// gives the same package. Directories are not items: an empty directory is
// not carried.
//
// False, with *error naming the file, when a file cannot be carried: its name
// cannot be represented in GBK, holds a character that Windows file names
// cannot hold (\ < > " | ? *), is longer than 259 bytes in GBK, or is one the
// installer refuses (see engine/entry_rules.h); two names differ only in the
// letter case of ASCII letters (or a file's name is a directory's so), which
// would make one overwrite or block the other on Windows; it is a link to a
// directory, a broken link or not a regular file; or the folder cannot be
// read. Also false when the sizes add up to more than 2,147,483,647 bytes.
bool ScanTree(const std::filesystem::path& folder, std::vector<PackItem>* items,
              std::string* error);

}  // namespace qz::pack
