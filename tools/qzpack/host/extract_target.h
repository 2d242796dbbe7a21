// Where `qzpack extract` puts the files: a file layer and the install
// directory that the extraction prefixes to every name.
#pragma once

#include <filesystem>
#include <cstddef>
#include <memory>
#include <string>

#include "common/file_system.h"
#include "engine/name_code_page.h"

namespace qz::pack {

struct ExtractTarget {
    std::unique_ptr<FileSystem> fs;
    std::string install_dir;  // GBK, ends with a backslash
    // The longest path (install_dir and a name) the target creates, in bytes.
    std::size_t longest_path = 0;
    // The code page the file layer opens paths in, in which names are judged
    // and paths split into their levels.
    NameCodePage names = kGbkNames;
};

// Creates folder if it is missing and makes the target for it. On POSIX the
// folder is the root of the POSIX file layer and the install directory is
// "C:\", which that layer maps onto the folder itself, and names are GBK. On
// Windows the install directory is the folder's absolute path in the system's
// ANSI code page, which the file layer opens paths in, as the installer does:
// names are judged and split in that code page, and paths are held to
// Windows' 259 bytes; on POSIX every name fits. On both, the file layer
// follows no link it finds inside the folder. False with *error when the
// folder cannot be made or named.
bool MakeExtractTarget(const std::filesystem::path& folder, ExtractTarget* target,
                       std::string* error);

}  // namespace qz::pack
