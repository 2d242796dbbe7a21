#include "differential/name_grammar.h"

#include <string>

namespace qz::diff {
namespace {

using test::TestFile;

std::string Gbk(unsigned lead, unsigned trail) {
    return {static_cast<char>(lead), static_cast<char>(trail)};
}

// One character of a word in both its cases; a character without case has
// the same bytes in both.
struct Letter {
    std::string upper;
    std::string lower;
};
using Word = std::vector<Letter>;

Letter FoldingLetter(RandomSource& random) {
    const auto k = static_cast<unsigned>(random.Below(26));
    switch (random.Below(6)) {
        case 0:
        case 1:
            return {std::string(1, static_cast<char>('A' + k)),
                    std::string(1, static_cast<char>('a' + k))};
        case 2:  // full-width Latin
            return {Gbk(0xA3, 0xC1 + k), Gbk(0xA3, 0xE1 + k)};
        case 3:  // Greek, 24 letters
            return {Gbk(0xA6, 0xA1 + k % 24), Gbk(0xA6, 0xC1 + k % 24)};
        case 4:  // Cyrillic, 33 letters
        {
            const unsigned c = static_cast<unsigned>(random.Below(33));
            return {Gbk(0xA7, 0xA1 + c), Gbk(0xA7, 0xD1 + c)};
        }
        default:  // Roman numerals one to ten
            return {Gbk(0xA2, 0xF1 + k % 10), Gbk(0xA2, 0xA1 + k % 10)};
    }
}

// Characters without case: digits, Chinese characters (five of them with the
// trail byte 0x5C) and punctuation that Windows names may hold.
Letter CaselessLetter(RandomSource& random) {
    static const char* const kHanzi[] = {"\xD6\xD0", "\xCE\xC4", "\xB1\xED", "\xC4\xDC",
                                         "\xCA\xAE", "\x81\x5C", "\x87\x5C", "\x95\x5C",
                                         "\xAA\x5C", "\x8A\x5C"};
    static const char kPunctuation[] = "-_~!#$%&()+,;=@[]^`{}' .";
    std::string c;
    switch (random.Below(3)) {
        case 0:
            c = std::string(1, static_cast<char>('0' + random.Below(10)));
            break;
        case 1:
            c = kHanzi[random.Below(sizeof(kHanzi) / sizeof(kHanzi[0]))];
            break;
        default:
            c = std::string(1, kPunctuation[random.Below(sizeof(kPunctuation) - 1)]);
            break;
    }
    return {c, c};
}

Word RandomWord(RandomSource& random, std::size_t most = 6) {
    Word word;
    const std::size_t length = random.Between(1, most);
    for (std::size_t i = 0; i < length; ++i) {
        // The first character is a letter, so that a word never starts or
        // ends a level with a dot or a space by chance alone.
        word.push_back(i == 0 || random.Below(3) != 0 ? FoldingLetter(random)
                                                      : CaselessLetter(random));
    }
    word.push_back(FoldingLetter(random));
    return word;
}

// The word with each letter in a case of its own choosing: two spellings of
// one word are one name to Windows.
std::string Spell(const Word& word, RandomSource& random) {
    std::string out;
    for (const Letter& letter : word) {
        out += random.OneIn(2) ? letter.upper : letter.lower;
    }
    return out;
}

std::string RandomCase(const std::string& ascii, RandomSource& random) {
    std::string out = ascii;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z' && random.OneIn(2)) {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

std::string DeviceLevel(RandomSource& random) {
    static const char* const kDevices[] = {"con",  "prn",  "aux",  "nul",    "com1",
                                           "com9", "lpt1", "lpt5", "conin$", "conout$"};
    // Near devices that are ordinary names.
    static const char* const kNearDevices[] = {"com0", "lpt0",  "com10", "conx",  "nul_",
                                               "aux1", "con-1", "prnt",  "conin", "clock$"};
    std::string level =
        random.OneIn(3) ? kNearDevices[random.Below(10)] : kDevices[random.Below(10)];
    level = RandomCase(level, random);
    if (random.OneIn(4)) {
        level += " ";
    }
    if (random.OneIn(2)) {
        level += random.OneIn(2) ? ".txt" : ".c";
    }
    return level;
}

std::string ForbiddenInside(std::string level, RandomSource& random) {
    static const char kForbidden[] = "<>\"|?*:/";
    const char c = random.OneIn(4) ? static_cast<char>(random.Between(1, 31))
                                   : kForbidden[random.Below(sizeof(kForbidden) - 1)];
    level.insert(random.Below(level.size() + 1), 1, c);
    return level;
}

// A byte sequence at the edge of GBK: a lead byte without its trail, or with a
// byte that cannot follow it; or a single byte outside ASCII: FF, which is
// nothing in GBK, or 80, which iconv and code page 936 read as the euro sign.
std::string BadGbk(std::string level, RandomSource& random) {
    switch (random.Below(3)) {
        case 0:
            return level + static_cast<char>(random.Between(0x81, 0xFE));
        case 1:
            return level + "\x81" + (random.OneIn(2) ? "\x20" : "\x7F");
        default:
            return level + (random.OneIn(2) ? "\x80" : "\xFF");
    }
}

std::string LogName(RandomSource& random) {
    return RandomCase("install.log", random);
}

std::string AsciiRun(std::size_t n, RandomSource& random) {
    std::string out;
    while (out.size() < n) {
        out += static_cast<char>('a' + random.Below(26));
    }
    return out;
}

// One level of a path.
std::string RandomLevel(RandomSource& random) {
    const std::size_t kind = random.Below(100);
    const std::string word = Spell(RandomWord(random), random);
    if (kind < 75) {
        static const char* const kExtensions[] = {"", "", ".txt", ".exe", ".dat", ".a"};
        return word + kExtensions[random.Below(6)];
    }
    if (kind < 82) {
        return DeviceLevel(random);
    }
    if (kind < 86) {
        static const char* const kEnds[] = {".", " ", "..", ". ", " ."};
        return word + kEnds[random.Below(5)];
    }
    if (kind < 87) {
        return random.OneIn(2) ? "." : "..";
    }
    if (kind < 90) {
        return ForbiddenInside(word, random);
    }
    if (kind < 92) {
        return BadGbk(word, random);
    }
    if (kind < 94) {
        return AsciiRun(random.Between(250, 257), random);
    }
    if (kind < 96) {
        // 85 double-byte characters are 255 bytes in UTF-8, the most a POSIX
        // file name holds.
        static const char* const kWide[] = {"\xD6\xD0", "\x81\x5C", "\xA6\xD2", "\xA7\xD8"};
        std::string level;
        for (std::size_t n = random.Between(60, 85); n > 0; --n) {
            level += kWide[random.Below(4)];
        }
        return level;
    }
    if (kind < 98) {
        return LogName(random);
    }
    return word + "\x81\x5C" + DeviceLevel(random);
}

std::string Join(const std::vector<std::string>& levels) {
    std::string out;
    for (const std::string& level : levels) {
        out += (out.empty() ? "" : "\\") + level;
    }
    return out;
}

// A path of 1-4 levels; its folders are often the package's earlier ones.
std::string RandomName(RandomSource& random, std::vector<std::string>& folders) {
    std::string folder;
    if (!folders.empty() && random.OneIn(2)) {
        folder = folders[random.Below(folders.size())];
    } else {
        std::vector<std::string> levels;
        for (std::size_t n = random.Below(4); n > 0; --n) {
            levels.push_back(random.OneIn(3) ? RandomLevel(random)
                                             : Spell(RandomWord(random), random));
        }
        folder = Join(levels);
        if (!folder.empty()) {
            folders.push_back(folder);
        }
    }
    std::string name = (folder.empty() ? "" : folder + "\\") + RandomLevel(random);
    switch (random.Below(40)) {
        case 0:
            return "\\" + name;
        case 1:
            return name + "\\";
        case 2:
            return folder.empty() ? name : folder + "\\\\" + name.substr(folder.size() + 1);
        default:
            return name;
    }
}

// A name of about `length` bytes (words, then ASCII up to the length), or
// one with a level of about 255 characters.
std::string LongName(RandomSource& random, std::size_t length) {
    if (random.OneIn(3)) {
        // A level about as long as a level may be.
        const std::string folder =
            random.OneIn(3) ? Spell(RandomWord(random, 1), random) + "\\" : "";
        return folder + AsciiRun(random.Between(254, 257), random);
    }
    std::vector<std::string> levels;
    std::size_t size = 0;
    while (size + 12 < length) {
        levels.push_back(Spell(RandomWord(random, random.Between(4, 40)), random));
        size += levels.back().size() + 1;
    }
    std::string name = Join(levels);
    if (name.size() + 2 > length) {
        return name;
    }
    name += "\\";
    return name + AsciiRun(length - name.size(), random);
}

std::string RandomData(RandomSource& random) {
    std::string data(random.OneIn(30) ? random.Between(30000, 70000) : random.Below(9), '\0');
    for (char& c : data) {
        c = static_cast<char>(random.Below(256));
    }
    return data;
}

}  // namespace

std::vector<TestFile> RandomPackage(RandomSource& random) {
    std::vector<std::string> names;
    std::vector<std::string> folders;
    const std::size_t shape = random.Below(100);
    if (shape < 20) {
        // A file and a folder of one name, one of them spelt in the other case.
        const std::string parent = random.OneIn(2) ? "" : Spell(RandomWord(random), random) + "\\";
        const Word word = RandomWord(random, 3);
        names = {parent + Spell(word, random),
                 parent + Spell(word, random) + "\\" + Spell(RandomWord(random), random)};
        if (random.OneIn(2)) {
            std::swap(names[0], names[1]);
        }
    } else if (shape < 32) {
        // One name twice, in one spelling or two; their folders too.
        const Word folder = RandomWord(random, 3);
        const Word file = RandomWord(random, 3);
        for (std::size_t n = random.Between(2, 3); n > 0; --n) {
            names.push_back(Spell(folder, random) + "\\" + Spell(file, random));
        }
        if (random.OneIn(2)) {
            names.push_back(Spell(folder, random) + "\\" + Spell(RandomWord(random), random));
        }
    } else if (shape < 42) {
        // install.log as a file or a folder, at the top or deeper.
        const std::string word = Spell(RandomWord(random), random);
        static const char* const kForms[] = {"%",       "%\\w",  "w\\%", "w\\w\\%",
                                             "%\\w\\w", "%.txt", "%x",   "w\\%\\w"};
        std::string name;
        for (const char* c = kForms[random.Below(8)]; *c != '\0'; ++c) {
            name += *c == '%' ? LogName(random) : *c == 'w' ? word : std::string(1, *c);
        }
        names.push_back(name);
    } else if (shape < 58) {
        // One name near the 259 bytes a name may have.
        names.push_back(LongName(random, random.Between(240, 262)));
    }
    for (std::size_t n = random.Between(names.empty() ? 1 : 0, 3); n > 0; --n) {
        names.insert(names.begin() + static_cast<std::ptrdiff_t>(random.Below(names.size() + 1)),
                     RandomName(random, folders));
    }
    std::vector<TestFile> files;
    for (const std::string& name : names) {
        files.push_back({name, RandomData(random)});
    }
    return files;
}

}  // namespace qz::diff
