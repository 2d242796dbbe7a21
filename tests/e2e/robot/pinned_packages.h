// The pinned scenarios' program and packages: the pinned Install.exe, the demo
// package it is pinned to, and valid packages that are not that package.
#pragma once

#include <string>
#include <vector>

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

}  // namespace robot
