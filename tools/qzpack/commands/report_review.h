// How create and verify show a package's review on the terminal.
#pragma once

#include "qzpack/commands/commands.h"
#include "qzpack/package/package_review.h"

namespace qz::pack {

// Prints the room on out and each warning on err. Returns kExitOk, or
// kExitRefused when strict and there is a warning.
int ReportReview(const PackageReview& review, bool strict, Console& console);

}  // namespace qz::pack
