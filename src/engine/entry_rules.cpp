#include "engine/entry_rules.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <string>

#include "common/constants.h"
#include "common/texts.h"

namespace qz {
namespace {

// A stretch of a name read character by character in a code page.
class Characters {
  public:
    Characters(const char* text, std::size_t length, const NameCodePage& code_page)
        : m_text(text), m_length(length), m_code_page(code_page) {}

    bool Done() const { return m_at >= m_length; }

    // The next character as it compares when case is ignored. A lead byte at
    // the very end stands alone.
    std::uint32_t NextFolded() {
        const auto c = static_cast<unsigned char>(m_text[m_at++]);
        if (!m_code_page.is_lead(c) || m_at >= m_length) {
            return m_code_page.fold(c);
        }
        const auto trail = static_cast<unsigned char>(m_text[m_at++]);
        return m_code_page.fold(static_cast<NameCharacter>(c) << 8 | trail);
    }

  private:
    const char* m_text;
    std::size_t m_length;
    const NameCodePage& m_code_page;
    std::size_t m_at = 0;
};

bool SameText(const char* a, std::size_t a_length, const char* b, std::size_t b_length,
              const NameCodePage& code_page) {
    Characters x(a, a_length, code_page);
    Characters y(b, b_length, code_page);
    while (!x.Done() && !y.Done()) {
        if (x.NextFolded() != y.NextFolded()) {
            return false;
        }
    }
    return x.Done() && y.Done();
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(const char* s, std::size_t n, const char* word) {
    if (std::strlen(word) != n) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (AsciiUpper(s[i]) != word[i]) {
            return false;
        }
    }
    return true;
}

// Windows takes the superscript digits of ISO 8859-1 (U+00B9, U+00B2,
// U+00B3) for digits of COM and LPT names, in whichever code page a name
// holds them: single bytes ¹ ² ³ under code page 1252, the pairs A9F6-A9F8
// under 949. A code page that has them folds them to those values.
bool IsSuperscriptDigit(NameCharacter c, const NameCodePage& code_page) {
    const std::uint32_t folded = code_page.fold(c);
    return folded == 0xB9 || folded == 0xB2 || folded == 0xB3;
}

// A level such as "nul", "NUL.txt" or "com1 .log" opens a device on Windows
// wherever it stands in a path. Read character by character: "COM" and one
// digit, be that digit one byte or two.
bool IsDeviceName(const char* level, std::size_t n, const NameCodePage& code_page) {
    const auto byte = [level](std::size_t i) { return static_cast<unsigned char>(level[i]); };
    std::size_t base = 0;
    while (base < n && level[base] != '.') {
        base += code_page.is_lead(byte(base)) && base + 1 < n ? 2 : 1;
    }
    while (base > 0 && level[base - 1] == ' ') {
        --base;
    }
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices) {
        if (EqualsIgnoringCase(level, base, device)) {
            return true;
        }
    }
    if (base < 4 || base > 5 ||
        !(EqualsIgnoringCase(level, 3, "COM") || EqualsIgnoringCase(level, 3, "LPT"))) {
        return false;
    }
    // The one character after COM or LPT.
    const bool pair = code_page.is_lead(byte(3));
    if (base != (pair ? 5u : 4u)) {
        return false;
    }
    if (pair) {
        return IsSuperscriptDigit(static_cast<NameCharacter>(byte(3)) << 8 | byte(4), code_page);
    }
    return (byte(3) >= '1' && byte(3) <= '9') || IsSuperscriptDigit(byte(3), code_page);
}

// characters: the level's length in characters, a double-byte one counting once.
NameCheck CheckLevel(const char* level, std::size_t n, std::size_t characters,
                     const NameCodePage& code_page) {
    if (characters > kMaxLevelCharacters) {
        return NameCheck::kLevelTooLong;
    }
    const char last = level[n - 1];
    if (last == '.' || last == ' ') {
        return NameCheck::kDotOrSpaceEnd;
    }
    return IsDeviceName(level, n, code_page) ? NameCheck::kDeviceName : NameCheck::kOk;
}

// What CheckName learns of an accepted name.
struct NameShape {
    std::size_t length = 0;  // bytes before the NUL
    std::size_t levels = 0;
};

NameCheck CheckName(const char* name, std::size_t field_size, const NameCodePage& code_page,
                    NameShape* shape) {
    const void* nul = std::memchr(name, '\0', field_size);
    if (nul == nullptr) {
        return NameCheck::kUnterminated;
    }
    const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(nul) - name);
    if (length == 0) {
        return NameCheck::kEmpty;
    }
    // One pass over the characters; a level runs from level_start to the next
    // separator, and a double-byte character never ends one.
    std::size_t level_start = 0;
    std::size_t level_characters = 0;
    std::size_t levels = 0;
    for (std::size_t i = 0; i <= length;) {
        const auto c = static_cast<unsigned char>(i < length ? name[i] : '\\');
        if (i < length && code_page.is_lead(c)) {
            const auto trail = static_cast<unsigned char>(i + 1 < length ? name[i + 1] : 0);
            if (!IsGbkTrailByte(trail) ||
                !code_page.is_character(static_cast<NameCharacter>(c) << 8 | trail)) {
                return NameCheck::kBadGbk;
            }
            i += 2;
            ++level_characters;
            continue;
        }
        if (!code_page.is_character(c)) {
            return NameCheck::kBadGbk;
        }
        if (c == '/') {
            return NameCheck::kForwardSlash;
        }
        if (c == ':') {
            return NameCheck::kColon;
        }
        if (c < 0x20) {
            return NameCheck::kControlByte;
        }
        if (std::strchr("<>\"|?*", c) != nullptr) {
            return NameCheck::kForbiddenCharacter;
        }
        if (c == '\\') {
            if (i == level_start) {
                return i == 0
                           ? NameCheck::kLeadingSeparator
                           : (i == length ? NameCheck::kTrailingSeparator : NameCheck::kEmptyLevel);
            }
            const NameCheck level =
                CheckLevel(name + level_start, i - level_start, level_characters, code_page);
            if (level != NameCheck::kOk) {
                return level;
            }
            // The log is made first: neither a file nor a folder may take its
            // name at the top.
            if (levels == 0 &&
                SameText(name, i, kLogFileName, std::strlen(kLogFileName), code_page)) {
                return NameCheck::kInstallLog;
            }
            ++levels;
            level_start = i + 1;
            level_characters = 0;
        } else {
            ++level_characters;
        }
        ++i;
    }
    shape->length = length;
    shape->levels = levels;
    return NameCheck::kOk;
}

// The folders and files the names make, each level kept once in an open
// hash table whose slot is the level's identity: its parent is a slot, its
// own name a stretch of the first record that names it.
class LevelTable {
  public:
    static constexpr std::uint32_t kTop = std::numeric_limits<std::uint32_t>::max();
    static constexpr std::uint32_t kFileBit = 0x80000000u;

    // levels: how many levels the names hold in all, an upper bound of the
    // distinct ones; the table keeps its load at four fifths or below.
    LevelTable(const std::vector<std::unique_ptr<PackageEntry>>& entries, std::size_t levels,
               const NameCodePage& code_page)
        : m_entries(entries), m_code_page(code_page) {
        const std::size_t slots = levels + levels / 4 + 1;
        if (slots >= kTop) {
            throw std::bad_alloc();
        }
        m_slots.resize(slots);
    }

    struct Found {
        std::uint32_t slot;
        bool added;
    };

    // The slot of the level named by bytes [start, start + length) of entry's
    // name below parent, added for entry (as a file when is_file) if new.
    Found Find(std::uint32_t parent, std::size_t entry, std::size_t start, std::size_t length,
               bool is_file) {
        const char* name = m_entries[entry]->szName + start;
        std::uint64_t hash = 0xcbf29ce484222325ull ^ parent;
        for (Characters c(name, length, m_code_page); !c.Done();) {
            hash = (hash ^ c.NextFolded()) * 0x100000001b3ull;
        }
        std::size_t slot = static_cast<std::size_t>((hash ^ (hash >> 29)) % m_slots.size());
        for (;; slot = slot + 1 == m_slots.size() ? 0 : slot + 1) {
            Level& level = m_slots[slot];
            if (level.length == 0) {
                level = {parent, static_cast<std::uint32_t>(entry) | (is_file ? kFileBit : 0),
                         static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(length)};
                return {static_cast<std::uint32_t>(slot), true};
            }
            if (level.parent == parent && SameText(m_entries[Entry(level)]->szName + level.start,
                                                   level.length, name, length, m_code_page)) {
                return {static_cast<std::uint32_t>(slot), false};
            }
        }
    }

    bool IsFile(std::uint32_t slot) const { return (m_slots[slot].entry & kFileBit) != 0; }
    // The first record that named the level.
    std::size_t EntryOf(std::uint32_t slot) const { return Entry(m_slots[slot]); }

  private:
    // 12 bytes; an empty slot has length 0, since no level is empty.
    struct Level {
        std::uint32_t parent = kTop;
        std::uint32_t entry = 0;  // the record, kFileBit set for a file
        std::uint16_t start = 0;
        std::uint16_t length = 0;
    };

    static std::size_t Entry(const Level& level) { return level.entry & ~kFileBit; }

    const std::vector<std::unique_ptr<PackageEntry>>& m_entries;
    const NameCodePage& m_code_page;
    std::vector<Level> m_slots;
};

// Places the levels of entry i, an accepted name of `length` bytes, in the
// table. False with *other when a level clashes with another record's: a file
// where a folder is needed, or the reverse.
bool PlaceEntry(LevelTable& table, const std::vector<std::unique_ptr<PackageEntry>>& entries,
                std::size_t i, std::size_t length, const NameCodePage& code_page, EntryCheck* check,
                std::size_t* other) {
    const char* name = entries[i]->szName;
    std::uint32_t parent = LevelTable::kTop;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= length;) {
        if (at < length && name[at] != '\\') {
            at += code_page.is_lead(static_cast<unsigned char>(name[at])) ? 2 : 1;
            continue;
        }
        const bool is_file = at == length;
        const LevelTable::Found found = table.Find(parent, i, start, at - start, is_file);
        if (!found.added) {
            const std::size_t first = table.EntryOf(found.slot);
            if (table.IsFile(found.slot) != is_file) {
                *other = first;
                return false;
            }
            if (is_file && std::strcmp(entries[first]->szName, name) != 0) {
                check->case_twins.push_back({i, first});
            }
        }
        parent = found.slot;
        start = ++at;
    }
    return true;
}

}  // namespace

NameCheck CheckEntryName(const char* name, std::size_t field_size, const NameCodePage& code_page) {
    NameShape shape;
    return CheckName(name, field_size, code_page, &shape);
}

bool SameName(const std::string& a, const std::string& b, const NameCodePage& code_page) {
    return SameText(a.data(), a.size(), b.data(), b.size(), code_page);
}

EntryCheck ValidateDirectory(const std::vector<std::unique_ptr<PackageEntry>>& entries,
                             const NameCodePage& code_page) {
    EntryCheck check;
    // First the names and the total, up to the first record at fault; then
    // the folders of the records before it, where an earlier clash wins.
    std::size_t accepted = 0;
    std::size_t levels = 0;
    for (; accepted < entries.size(); ++accepted) {
        NameShape shape;
        check.name = CheckName(entries[accepted]->szName, kNameSize, code_page, &shape);
        if (check.name != NameCheck::kOk) {
            check.status = DirectoryCheck::kBadName;
            break;
        }
        check.total += EffectiveSize(*entries[accepted]);
        if (check.total > kMaxPackageTotal) {
            check.status = DirectoryCheck::kTotalTooLarge;
            break;
        }
        levels += shape.levels + 1;
        check.longest_name = std::max(check.longest_name, shape.length);
    }
    if (check.status != DirectoryCheck::kOk) {
        check.bad_index = check.other_index = accepted;
    }

    LevelTable table(entries, levels, code_page);
    for (std::size_t i = 0; i < accepted; ++i) {
        std::size_t other = 0;
        if (!PlaceEntry(table, entries, i, std::strlen(entries[i]->szName), code_page, &check,
                        &other)) {
            check.status = DirectoryCheck::kFolderClash;
            check.name = NameCheck::kOk;
            check.bad_index = i;
            check.other_index = other;
            break;
        }
    }
    return check;
}

}  // namespace qz
