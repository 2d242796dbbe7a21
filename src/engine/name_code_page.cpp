#include "engine/name_code_page.h"

#include <algorithm>

#include "engine/gbk_runs.h"

namespace qz {
namespace {

bool NeverLead(unsigned char) {
    return false;
}

std::uint32_t FoldAscii(NameCharacter c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

// A run of lower-case double-byte letters and where their upper-case forms,
// in the same order, begin.
struct LowerRun {
    NameCharacter first;
    NameCharacter last;
    NameCharacter upper_first;
};

// Checked against the code page's table: every double-byte character whose
// upper-case form GBK also holds.
constexpr LowerRun kGbkLowerRuns[] = {
    {0xA2A1, 0xA2AA, 0xA2F1},  // ⅰ-ⅹ: Ⅰ-Ⅹ
    {0xA3E1, 0xA3FA, 0xA3C1},  // ａ-ｚ: Ａ-Ｚ
    {0xA6C1, 0xA6D8, 0xA6A1},  // α-ω: Α-Ω
    {0xA7D1, 0xA7F1, 0xA7A1},  // а-я, ё among them: А-Я
};

std::uint32_t FoldGbk(NameCharacter c) {
    if (c < 0x100) {
        return FoldAscii(c);
    }
    for (const LowerRun& run : kGbkLowerRuns) {
        if (c >= run.first && c <= run.last) {
            return c - run.first + run.upper_first;
        }
    }
    return c;
}

std::uint32_t Fold1252(NameCharacter c) {
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return c - 0x20;
    }
    switch (c) {
        case 0x9A:  // š
        case 0x9C:  // œ
        case 0x9E:  // ž
            return c - 0x10;
        case 0xFF:  // ÿ: Ÿ
            return 0x9F;
        default:
            return FoldAscii(c);
    }
}

}  // namespace

bool IsAnyCharacter(NameCharacter) {
    return true;
}

bool IsGbkCharacter(NameCharacter c) {
    // 80 is the euro sign for iconv (and for code page 936), though not for
    // every GBK table; FF and the lead bytes alone are nothing.
    if (c < 0x100) {
        return c <= 0x80;
    }
    if (c > 0xFFFF || !IsGbkLeadByte(static_cast<unsigned char>(c >> 8)) ||
        !IsGbkTrailByte(static_cast<unsigned char>(c & 0xFF))) {
        return false;
    }
    const GbkRun* end = kGbkRuns + kGbkRunCount;
    const GbkRun* run = std::upper_bound(
        kGbkRuns, end, c, [](NameCharacter code, const GbkRun& r) { return code < r.first; });
    return run != kGbkRuns && c <= (run - 1)->last;
}

const NameCodePage kGbkNames = {IsGbkLeadByte, IsGbkCharacter, FoldGbk};
const NameCodePage kWesternNames = {NeverLead, IsAnyCharacter, Fold1252};

}  // namespace qz
