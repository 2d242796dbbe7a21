#include "engine/entry_rules.h"

#include <cstring>
#include <string>

#include "common/constants.h"
#include "common/dbcs.h"

namespace qz {
namespace {

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

// A level such as "nul", "NUL.txt" or "com1 .log" opens a device on Windows
// wherever it stands in a path.
bool IsDeviceName(const char* level, std::size_t n) {
    std::size_t base = 0;
    while (base < n && level[base] != '.') {
        ++base;
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
    if (base == 4 && level[3] >= '1' && level[3] <= '9') {
        return EqualsIgnoringCase(level, 3, "COM") || EqualsIgnoringCase(level, 3, "LPT");
    }
    return false;
}

NameCheck CheckLevel(const char* level, std::size_t n) {
    const char last = level[n - 1];
    if (last == '.' || last == ' ') {
        return NameCheck::kDotOrSpaceEnd;
    }
    return IsDeviceName(level, n) ? NameCheck::kDeviceName : NameCheck::kOk;
}

}  // namespace

NameCheck CheckEntryName(const char* name, std::size_t field_size) {
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
    for (std::size_t i = 0; i <= length;) {
        const auto c = static_cast<unsigned char>(i < length ? name[i] : '\\');
        if (IsGbkLeadByte(c)) {
            if (i + 1 >= length || !IsGbkTrailByte(static_cast<unsigned char>(name[i + 1]))) {
                return NameCheck::kBadGbk;
            }
            i += 2;
            continue;
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
        if (c == '\\') {
            if (i == level_start) {
                return i == 0
                           ? NameCheck::kLeadingSeparator
                           : (i == length ? NameCheck::kTrailingSeparator : NameCheck::kEmptyLevel);
            }
            const NameCheck level = CheckLevel(name + level_start, i - level_start);
            if (level != NameCheck::kOk) {
                return level;
            }
            level_start = i + 1;
        }
        ++i;
    }
    return NameCheck::kOk;
}

EntryCheck ValidateDirectory(const std::vector<std::unique_ptr<PackageEntry>>& entries) {
    EntryCheck check;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const NameCheck name = CheckEntryName(entries[i]->szName, kNameSize);
        if (name != NameCheck::kOk) {
            check.status = DirectoryCheck::kBadName;
            check.bad_index = i;
            check.name = name;
            return check;
        }
        check.total += EffectiveSize(*entries[i]);
        if (check.total > kMaxPackageTotal) {
            check.status = DirectoryCheck::kTotalTooLarge;
            check.bad_index = i;
            return check;
        }
    }
    return check;
}

}  // namespace qz
