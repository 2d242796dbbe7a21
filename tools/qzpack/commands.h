// The package tool's commands. Each returns the process's exit status and
// writes its report to out and its complaints to err.
#pragma once

#include <filesystem>
#include <ostream>

namespace qz::pack {

// Exit statuses of create, list and verify.
constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;  // invalid package, or a tree that cannot be packed
constexpr int kExitUsage = 2;    // bad command line, or a file that cannot be read or written

struct Console {
    std::ostream& out;
    std::ostream& err;
    bool progress;  // err is a terminal: draw a progress bar there
};

// Packs every file below folder into output (see tree_scan.h for the order
// and the refusals). The package is written beside output under a temporary
// name and renamed at the end, so a failed run leaves no partial package and
// an existing output untouched. output must not lie inside folder.
int RunCreate(const std::filesystem::path& folder, const std::filesystem::path& output,
              Console& console);

// Prints each entry's size and name, then the total. 1 when the header is
// refused or the directory is incomplete (the entries read are still shown).
int RunList(const std::filesystem::path& package, Console& console);

// Checks the package as the installer would, reading it to the end of its
// data area: 0 valid, 1 invalid (the message names the entry), 2 unreadable.
int RunVerify(const std::filesystem::path& package, Console& console);

// Installs the package into folder with the installer's own extraction
// (install.log included). Returns the extraction's result: 0 success,
// 1 package not opened, 2 package refused, 3 a file not created or written,
// 4 package cut short or unreadable.
int RunExtract(const std::filesystem::path& package, const std::filesystem::path& folder,
               Console& console);

}  // namespace qz::pack
