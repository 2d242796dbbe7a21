// The pin of a pinned build: the size and SHA-256 of the package named by the
// build's QZ_PINNED_PACKAGE. Only a pinned build defines it (the build
// generates its definition from the package); an unpinned one has no pin.
#pragma once

#include "engine/package_pin.h"

namespace qz {

extern const PinRecord kPinnedPackage;

}  // namespace qz
