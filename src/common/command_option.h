// Reading the options of a command line after the program's name (WinMain's
// lpCmdLine) as both programs take them: an ASCII option name in any letter
// case, and a value that may be quoted as deployment tools quote an argument
// that holds spaces. Portable.
#pragma once

#include <cstddef>
#include <string>

namespace qz {

// True for the blanks that separate arguments: space and tab.
bool IsCommandBlank(char c);

// The first position at or after `at` that is not a blank.
std::size_t SkipCommandBlanks(const std::string& text, std::size_t at);

// True when `text` at `at` starts with `option` (ASCII upper case), letter
// case ignored.
bool StartsWithOption(const std::string& text, std::size_t at, const char* option);

// Reads the option `name` ("/D=", with its '=') starting at `at`, in any of
// its three forms: NAME"VALUE" or "NAMEVALUE" (the quotes are not part of the
// value), or NAMEVALUE, which ends at the next blank, or with `to_end` at the
// end of the line. A quoted form counts only when a blank or the end follows
// its closing quote, or with `to_end` nothing but blanks; otherwise NAME"...
// is read unquoted and "NAME... is no option. A quote cannot be the second
// byte of a double-byte character, so the line is searched byte by byte.
// Returns where the option ends and stores its value, or npos when no such
// option starts at `at` (the value is then left alone).
std::size_t ReadCommandOption(const std::string& text, std::size_t at, const char* name,
                              bool to_end, std::string* value);

}  // namespace qz
