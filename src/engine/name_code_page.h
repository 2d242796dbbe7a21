// How a code page reads package names: which bytes open a double-byte
// character, and what each character is when Windows compares names without
// regard to letter case. Package names are GBK (code page 936); the Win32
// program opens them in the system's ANSI code page and judges them in it.
#pragma once

#include <cstdint>

#include "common/dbcs.h"

namespace qz {

// A character: one byte, or a double-byte character as lead << 8 | trail.
using NameCharacter = std::uint32_t;

struct NameCodePage {
    LeadByteTest is_lead;
    // True when a byte, or a lead byte with a trail byte, is a character the
    // code page defines; a name holding anything else is refused.
    bool (*is_character)(NameCharacter character);
    // The value a character compares as when case is ignored: two characters
    // are one name's letter exactly when their values are equal.
    std::uint32_t (*fold)(NameCharacter character);
};

// True for every character: the judgement of a code page whose every byte
// and well-formed pair the rules let through.
bool IsAnyCharacter(NameCharacter character);

// True for the characters GBK defines: the bytes 00-80 (80 the euro sign) and
// the pairs glibc's iconv converts from GBK (gbk_runs.h). False for a lone
// lead byte, for FF, and for the pairs GBK leaves undefined: the user-defined
// areas AAA1-AFFE, F8A1-FEFE and A140-A7A0 and the unassigned codes among the
// symbols (A2AB, A6B9, A3A0 and the like).
bool IsGbkCharacter(NameCharacter character);

// GBK as Windows compares its names, each of its characters judged by
// IsGbkCharacter: the ASCII letters, and among the
// double-byte characters the full-width Latin letters (A3C1-A3DA with
// A3E1-A3FA), the Greek (A6A1-A6B8 with A6C1-A6D8), the Cyrillic (A7A1-A7C1
// with A7D1-A7F1) and the Roman numerals one to ten (A2F1-A2FA with
// A2A1-A2AA), each upper-case form with its lower-case one.
extern const NameCodePage kGbkNames;

// Code page 1252, the Western single-byte one, as the package tool judges
// names in it: every byte a character of its own, each letter folded to its
// upper-case form as Windows folds them there (à-þ with À-Þ but for ÷ and ×,
// š œ ž ÿ with Š Œ Ž Ÿ); a character's value is its byte.
extern const NameCodePage kWesternNames;

// The system's ANSI code page, which the narrow Win32 functions open paths
// in: GBK itself under code page 936, otherwise its lead bytes as
// IsDBCSLeadByte tells and each character folded as Windows upper-cases it.
// Windows only; builds its table on the first call.
NameCodePage AnsiNameCodePage();

}  // namespace qz
