// The package tool's commands. Each returns the process's exit status and
// writes its report to out and its complaints to err.
#pragma once

#include <filesystem>
#include <ostream>

namespace qz::pack {

// The exit statuses of every command.
constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;  // the package or tree was refused, or the operation failed
constexpr int kExitUsage = 2;    // bad command line

struct Console {
    std::ostream& out;
    std::ostream& err;
    bool progress;        // err is a terminal: draw a progress bar there
    bool strict = false;  // create and verify: warnings refuse
};

// Packs every file below folder into output (see package/tree_scan.h for the order
// and the refusals; a refusal names the source file). Prints the room left
// for the install directory and the warnings (package/package_review.h), which
// refuse under console.strict. The package is written beside output under a
// temporary name and renamed at the end, so a failed run leaves no partial
// package and an existing output untouched. output must not lie inside folder.
int RunCreate(const std::filesystem::path& folder, const std::filesystem::path& output,
              Console& console);

// Prints each entry's size and name, then the total. 1 when the header is
// refused or the directory is incomplete (the entries read are still shown).
int RunList(const std::filesystem::path& package, Console& console);

// Checks the package as the installer would, reading it to the end of its
// data area: 0 valid, 1 invalid or unreadable (the message names the entry).
// A valid package then gets the room and the warnings of package/package_review.h,
// which make it 1 under console.strict.
int RunVerify(const std::filesystem::path& package, Console& console);

// Installs the package into folder with the installer's own extraction
// (install.log included). 0 on success; 1 when the extraction failed, after
// the installer's message, a line naming the entry at fault and, for a file
// that could not be created or written, the system's error text.
int RunExtract(const std::filesystem::path& package, const std::filesystem::path& folder,
               Console& console);

}  // namespace qz::pack
