// The pinned scenarios' program and packages: the pinned Install.exe, the demo
// package it is pinned to, and valid packages that are not that package.
#pragma once

#include <string>
#include <vector>

#include "robot/process.h"

namespace robot {

// The pinned Install.exe (QZ_PINNED_INSTALL_EXE) and its package
// (QZ_PINNED_PACKAGE).
std::string PinnedProgram();
std::string PinnedPackage();

struct PackageVariant {
    const char* what;
    std::string bytes;
};

// Packages that an unpinned program installs and the pinned one refuses: the
// pinned package's bytes with one byte of its data area changed, the same
// with bytes appended after its data area, and another valid package.
std::vector<PackageVariant> NotThePinnedPackage(const std::string& pinned);

// The environment that makes data.dat in the setup folder a source that does
// not replay its bytes: the shim QZ_CHANGING_SOURCE_SHIM preloaded into the
// installer's process flips the file's last byte on each read that delivers
// it once the file was read to its end, or from the first read on.
EnvChanges ChangingSource(bool fromFirstRead);

}  // namespace robot
