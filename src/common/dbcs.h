// Scanning GBK (code page 936) strings for separators: the second byte of a
// double-byte character may be 0x5C (for example 乗 = 81 5C) and is then part
// of the character, not a backslash.
#pragma once

#include <cstddef>
#include <string>

namespace qz {

// True for the bytes that open a double-byte character (0x81-0xFE).
constexpr bool IsGbkLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// True for the bytes that may close a double-byte character (0x40-0x7E and
// 0x80-0xFE).
constexpr bool IsGbkTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE);
}

// Position of the next backslash at or after `from`, stepping character by
// character from the start of s so that lead and trail bytes stay aligned;
// std::string::npos when there is none. A lead byte always takes the byte after
// it, whatever that byte is.
std::size_t FindBackslash(const std::string& s, std::size_t from);

// Position of the last backslash of s found the same way; npos when none.
std::size_t FindLastBackslash(const std::string& s);

}  // namespace qz
