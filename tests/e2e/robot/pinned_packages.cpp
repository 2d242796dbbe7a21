#include "robot/pinned_packages.h"

#include <cstdint>

#include "robot/files.h"
#include "robot/report.h"
#include "support/package_bytes.h"

namespace robot {

std::string PinnedProgram() {
    return RequiredPathEnv("QZ_PINNED_INSTALL_EXE");
}

std::string PinnedPackage() {
    return RequiredPathEnv("QZ_PINNED_PACKAGE");
}

void MakeChangingSource(const std::string& package, SourceChange change) {
    if (change == SourceChange::kNone)
        return;
    const std::string marker =
        package + (change == SourceChange::kFromFirstRead ? ".changes-from-first-read"
                                                          : ".changes-after-first-pass");
    Require(WriteWholeFile(marker, ""), "the changing-source marker is written");
}

std::vector<PackageVariant> NotThePinnedPackage(const std::string& pinned) {
    // The entry count is the header's last field (offset 24, little-endian);
    // the data area follows the 28-byte header and the 264-byte records.
    Require(pinned.size() >= 28, "the pinned package holds a header");
    const auto* b = reinterpret_cast<const unsigned char*>(pinned.data());
    const std::uint32_t count =
        b[24] | b[25] << 8 | b[26] << 16 | static_cast<std::uint32_t>(b[27]) << 24;
    const std::size_t data = 28 + 264 * static_cast<std::size_t>(count);
    Require(data < pinned.size(), "the pinned package has a data area");
    std::string changed = pinned;
    // One bit of the byte in the middle of the data area: a file's content,
    // which every check of the format lets through.
    changed[data + (pinned.size() - data) / 2] ^= 0x01;
    return {
        {"one byte of the data area changed", changed},
        {"bytes appended after the data area", pinned + "appended"},
        {"another valid package", qz::test::PackageBytes({{"ravik.exe", "another app"}})},
    };
}

}  // namespace robot
