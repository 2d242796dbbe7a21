// The rules of the install-directory page, as pure functions on narrow paths
// with backslash separators. Each takes the code page the path is written in
// as a lead-byte test: GBK unless told otherwise; the Win32 program passes the
// system's ANSI code page.
//
// A trailing separator is a backslash that is a character of its own: the
// second byte of a double-byte character (GBK 乗 = 81 5C) is not one, so a path
// ending in such a character still needs a separator appended. Under a
// single-byte code page (1252) every 5C is a separator and a last byte such as
// E9 (é) is a whole character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/dbcs.h"

namespace qz {

// True when the last character of `path` is a single-byte backslash.
bool EndsWithSeparator(const std::string& path, LeadByteTest isLead = IsGbkLeadByte);

// `path` with one backslash appended unless it already ends with a separator
// (two when it ends with a lone lead byte, which takes the first as its trail).
std::string WithTrailingSeparator(const std::string& path, LeadByteTest isLead = IsGbkLeadByte);

// The product-folder rule: `dir` followed by "Qorvane\" when it ends with a
// separator, otherwise by "\Qorvane\". The result always ends with a separator.
std::string AppendProductFolder(const std::string& dir, LeadByteTest isLead = IsGbkLeadByte);

// The page's only check of a typed path: longer than 2 bytes, with ':' as its
// second byte. Nothing else (first byte, existence, characters) is examined.
bool IsValidInstallPath(const std::string& path);

// The proposed install directory, from what GetEnvironmentVariableA left for
// "ProgramFiles" in a buffer of `size` bytes: `buffer` and `returned` are that
// buffer and that call's result. The value is used when the call stored it
// (0 < returned < size, zero-terminated there) and it is not empty; the result
// is the value with the product folder, when that still fits the buffer with
// its terminating zero. Anything else (unset, empty, too long, too little room
// left for the product folder) gives "C:\Qorvane\". Never reads past `size`.
std::string DefaultInstallDir(const char* buffer, std::size_t size, std::uint32_t returned,
                              LeadByteTest isLead = IsGbkLeadByte);

// The text of the confirmation box for `path`, in the three pieces the box
// shows one after the other: the fixed text before the path, the path as it
// stands (a '%' in it is not a format directive) and the fixed text after it.
// The pieces are kept apart because the path is in the system's code page and
// the fixed text is GBK.
struct ConfirmPathText {
    std::string before;
    std::string path;
    std::string after;
};
ConfirmPathText ConfirmPathMessage(const std::string& path);

// `path` cut after its last separator, the separator kept; empty when it has
// none. ("C:\Setup\Install.exe" gives "C:\Setup\".)
std::string DirectoryOf(const std::string& path, LeadByteTest isLead = IsGbkLeadByte);

}  // namespace qz
