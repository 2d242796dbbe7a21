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

// How a package's source changes its bytes between reads.
enum class SourceChange {
    kNone,
    kAfterFirstPass,  // the last byte flips on each read once the file was read to its end
    kFromFirstRead,   // the last byte flips on every read that delivers it
};

// Makes `package` a source that does not replay its bytes, as `change` says
// (kNone: nothing): a marker beside it tells the shim that the pinned
// scenarios preload (tests/e2e/shim). Ends the scenario when the marker
// cannot be written.
void MakeChangingSource(const std::string& package, SourceChange change);

}  // namespace robot
