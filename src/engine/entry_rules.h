// What the installer accepts in a package directory. The rules keep every file
// inside the install directory; the package tool applies the same ones when it
// builds a package, so anything it writes installs.
//
// A name must:
//   - hold its NUL within the 260 bytes of its field and not be empty;
//   - be well-formed GBK: every lead byte (0x81-0xFE) followed by a trail byte
//     (0x40-0x7E, 0x80-0xFE);
//   - separate levels with backslashes only: a forward slash is refused
//     anywhere (0x2F is never part of a double-byte character);
//   - have no colon anywhere (no drive letter, no stream name);
//   - not start or end with a backslash, and have no empty level (a\\b);
//   - have no level that ends with a dot or a space (this also refuses "." and
//     ".."), nor one that names a device: CON, PRN, AUX, NUL, CONIN$, CONOUT$,
//     COM1-COM9, LPT1-LPT9, in any letter case, alone or followed by an
//     extension (nul.txt), trailing spaces before the extension ignored;
//   - have no control byte (0x01-0x1F).
// Backslashes are found character by character, so the trail byte 0x5C of a
// double-byte character (81 5C) is not a separator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/package_format.h"

namespace qz {

enum class NameCheck {
    kOk,
    kUnterminated,  // no NUL within the field
    kEmpty,
    kBadGbk,  // a lead byte without its trail byte
    kForwardSlash,
    kColon,  // drive letter or stream name
    kControlByte,
    kLeadingSeparator,  // absolute path
    kTrailingSeparator,
    kEmptyLevel,
    kDotOrSpaceEnd,  // "." , "..", "a.", "a "
    kDeviceName,
};

// Checks the name in a field of field_size bytes; nothing past the field is read.
NameCheck CheckEntryName(const char* name, std::size_t field_size);
inline bool IsSafeEntryName(const char* name, std::size_t field_size) {
    return CheckEntryName(name, field_size) == NameCheck::kOk;
}

// The size a record adds to the total: nSize, or 0 when nSize is negative (such
// an entry is an empty file and takes no bytes).
inline std::int64_t EffectiveSize(const PackageEntry& entry) {
    return entry.nSize > 0 ? entry.nSize : 0;
}

enum class DirectoryCheck {
    kOk,
    kBadName,        // see bad_index
    kTotalTooLarge,  // the sizes add up to more than 2,147,483,647
};

struct EntryCheck {
    DirectoryCheck status = DirectoryCheck::kOk;
    std::size_t bad_index = 0;        // the first record at fault (kBadName)
    NameCheck name = NameCheck::kOk;  // why its name was refused
    std::int64_t total = 0;           // sum of EffectiveSize over all records
};

// Checks every record's name and the total size; the first fault found wins.
EntryCheck ValidateDirectory(const std::vector<std::unique_ptr<PackageEntry>>& entries);

}  // namespace qz
