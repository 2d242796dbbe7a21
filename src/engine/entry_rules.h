// What the installer accepts in a package directory. The rules keep every file
// inside the install directory and refuse what Windows cannot create; the
// package tool applies the same ones when it builds or verifies a package, so
// anything it accepts installs. Names are read in a code page
// (name_code_page.h): GBK, the product's, unless told otherwise; the Win32
// program passes the one it opens them in.
//
// A name must:
//   - hold its NUL within the 260 bytes of its field and not be empty;
//   - be well-formed: every lead byte followed by a trail byte (0x40-0x7E,
//     0x80-0xFE, which holds the trail bytes of every double-byte code page),
//     and every byte and pair a character the code page defines (for GBK: no
//     FF, no user-defined or unassigned pair such as AAA1 or A67C, since the
//     package tool could not write the name);
//   - separate levels with backslashes only: a forward slash is refused
//     anywhere (0x2F is never part of a double-byte character);
//   - have no colon anywhere (no drive letter, no stream name);
//   - not start or end with a backslash, and have no empty level (a\\b);
//   - have no level that ends with a dot or a space (this also refuses "." and
//     ".."), nor one that names a device: CON, PRN, AUX, NUL, CONIN$, CONOUT$,
//     COM1-COM9, LPT1-LPT9 (and, where the code page has them, COM and LPT
//     with the superscript digits 1 2 3 of ISO 8859-1: single bytes in 1252,
//     double-byte characters in 949; the name is read by characters), in
//     any letter case, alone or followed by an
//     extension (nul.txt), trailing spaces before the extension ignored;
//   - have no control byte (0x01-0x1F) and none of < > " | ? *, which Windows
//     file names cannot hold;
//   - have no level longer than 255 characters (a double-byte character counts
//     as one);
//   - not have install.log as its first level, in any letter case, be it the
//     file or a folder: the installer creates that file first and holds it
//     open while it writes the others.
// Backslashes are found character by character, so the trail byte 0x5C of a
// double-byte character (GBK 81 5C) is not a separator.
//
// Across the directory, no entry may name a file where another entry needs a
// folder (data and data\x.txt, in either order). Levels are compared as
// Windows compares them: without regard to letter case, for every letter the
// code page folds (the full-width, Greek and Cyrillic letters of GBK too).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/name_code_page.h"
#include "engine/package_format.h"

namespace qz {

enum class NameCheck {
    kOk,
    kUnterminated,  // no NUL within the field
    kEmpty,
    kBadGbk,  // a lead byte without its trail byte, or no character of the code page
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
NameCheck CheckEntryName(const char* name, std::size_t field_size,
                         const NameCodePage& code_page = kGbkNames);

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

// Two entries whose names differ only in letter case: on Windows the later
// replaces the file of the earlier.
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
    std::size_t longest_name = 0;      // bytes of the longest name (kOk)
    std::vector<CaseTwin> case_twins;  // allowed, for warnings; exact duplicates are not listed
};

// True when a and b name one file on Windows: equal but for letter case.
bool SameName(const std::string& a, const std::string& b,
              const NameCodePage& code_page = kGbkNames);

// Checks every record's name, the folders they need and the total size; the
// fault of the earliest record wins. Each folder level is kept once, by its
// parent and its own name, so time grows with the total length of the names.
// Besides the records it takes 15 bytes per level of every name (12-byte
// slots, at most four fifths of them used) and at worst 48 bytes per record
// for case twins: within eight times the directory's size, since a level
// takes at least two of a name's bytes. Throws std::bad_alloc when memory
// runs out.
EntryCheck ValidateDirectory(const std::vector<std::unique_ptr<PackageEntry>>& entries,
                             const NameCodePage& code_page = kGbkNames);

}  // namespace qz
