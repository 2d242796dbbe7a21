#include "engine/entry_rules.h"

#include <cstring>
#include <string>
#include <unordered_map>

#include "common/constants.h"
#include "common/dbcs.h"
#include "common/texts.h"

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

// characters: the level's length in characters, a double-byte one counting once.
NameCheck CheckLevel(const char* level, std::size_t n, std::size_t characters) {
    if (characters > kMaxLevelCharacters) {
        return NameCheck::kLevelTooLong;
    }
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
    std::size_t level_characters = 0;
    bool nested = false;
    for (std::size_t i = 0; i <= length;) {
        const auto c = static_cast<unsigned char>(i < length ? name[i] : '\\');
        if (IsGbkLeadByte(c)) {
            if (i + 1 >= length || !IsGbkTrailByte(static_cast<unsigned char>(name[i + 1]))) {
                return NameCheck::kBadGbk;
            }
            i += 2;
            ++level_characters;
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
                CheckLevel(name + level_start, i - level_start, level_characters);
            if (level != NameCheck::kOk) {
                return level;
            }
            level_start = i + 1;
            level_characters = 0;
            nested = nested || i < length;
        } else {
            ++level_characters;
        }
        ++i;
    }
    // Only a name of one level lands on the log's path.
    if (!nested && length == std::strlen(kLogFileName) &&
        FoldCase(std::string(name, length)) == kLogFileName) {
        return NameCheck::kInstallLog;
    }
    return NameCheck::kOk;
}

std::string FoldCase(const std::string& gbk) {
    std::string folded = gbk;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto c = static_cast<unsigned char>(folded[i]);
        if (IsGbkLeadByte(c)) {
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            folded[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

EntryCheck ValidateDirectory(const std::vector<std::unique_ptr<PackageEntry>>& entries) {
    EntryCheck check;
    // Folded names of the files, and folded folder paths (without their last
    // backslash), each with the first entry that has or needs it.
    std::unordered_map<std::string, std::size_t> files;
    std::unordered_map<std::string, std::size_t> folders;
    files.reserve(entries.size());
    const auto refuse = [&check](DirectoryCheck status, std::size_t i, std::size_t other) {
        check.status = status;
        check.bad_index = i;
        check.other_index = other;
        return check;
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const NameCheck name = CheckEntryName(entries[i]->szName, kNameSize);
        if (name != NameCheck::kOk) {
            check.name = name;
            return refuse(DirectoryCheck::kBadName, i, i);
        }
        check.total += EffectiveSize(*entries[i]);
        if (check.total > kMaxPackageTotal) {
            return refuse(DirectoryCheck::kTotalTooLarge, i, i);
        }
        const std::string folded = FoldCase(entries[i]->szName);
        const auto folder = folders.find(folded);
        if (folder != folders.end()) {
            return refuse(DirectoryCheck::kFolderClash, i, folder->second);
        }
        for (std::size_t p = FindBackslash(folded, 0); p != std::string::npos;
             p = FindBackslash(folded, p + 1)) {
            std::string level_path = folded.substr(0, p);
            const auto file = files.find(level_path);
            if (file != files.end()) {
                return refuse(DirectoryCheck::kFolderClash, i, file->second);
            }
            folders.emplace(std::move(level_path), i);
        }
        const auto [file, added] = files.emplace(folded, i);
        if (!added && std::strcmp(entries[file->second]->szName, entries[i]->szName) != 0) {
            check.case_twins.push_back({i, file->second});
        }
    }
    return check;
}

}  // namespace qz
