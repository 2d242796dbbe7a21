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
//   - have no control byte (0x01-0x1F) and none of < > " | ? *, which Windows
//     file names cannot hold;
//   - have no level longer than 255 characters (a double-byte character counts
//     as one);
//   - not be install.log itself, in any letter case: the installer holds that
//     file open while it writes the others.
// Backslashes are found character by character, so the trail byte 0x5C of a
// double-byte character (81 5C) is not a separator.
//
// Across the directory, no entry may name a file where another entry needs a
// folder (data and data\x.txt, in either order). Levels are compared as
// Windows compares them: ASCII letters without regard to case, double-byte
// characters byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
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
    kForbiddenCharacter,  // < > " | ? *
    kLevelTooLong,        // more than 255 characters
    kInstallLog,          // install.log at the top level
};

// Checks the name in a field of field_size bytes; nothing past the field is read.
NameCheck CheckEntryName(const char* name, std::size_t field_size);

// The size a record adds to the total: nSize, or 0 when nSize is negative (such
// an entry is an empty file and takes no bytes).
inline std::int64_t EffectiveSize(const PackageEntry& entry) {
    return entry.nSize > 0 ? entry.nSize : 0;
}

enum class DirectoryCheck {
    kOk,
    kBadName,        // see bad_index
    kTotalTooLarge,  // the sizes add up to more than 2,147,483,647
    kFolderClash,    // bad_index and other_index: one names a folder the other needs
};

// Two entries whose names differ only in the case of ASCII letters: on
// Windows the later replaces the file of the earlier.
struct CaseTwin {
    std::size_t later;
    std::size_t earlier;
};

struct EntryCheck {
    DirectoryCheck status = DirectoryCheck::kOk;
    std::size_t bad_index = 0;         // the first record at fault
    std::size_t other_index = 0;       // the earlier record it clashes with (kFolderClash)
    NameCheck name = NameCheck::kOk;   // why its name was refused (kBadName)
    std::int64_t total = 0;            // sum of EffectiveSize over all records
    std::vector<CaseTwin> case_twins;  // allowed, for warnings; exact duplicates are not listed
};

// The names as Windows compares them: ASCII letters in lower case, double-byte
// characters as they stand (their second byte may look like a letter).
std::string FoldCase(const std::string& gbk);

// Checks every record's name, the folders they need and the total size, in
// directory order; the first fault found wins. Time and memory grow with the
// total length of the names.
EntryCheck ValidateDirectory(const std::vector<std::unique_ptr<PackageEntry>>& entries);

}  // namespace qz
