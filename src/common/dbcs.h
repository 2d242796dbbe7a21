// Scanning narrow strings for separators character by character: the second
// byte of a double-byte character may be 0x5C (for example GBK 乗 = 81 5C) and
// is then part of the character, not a backslash. Which bytes open a
// double-byte character depends on the code page; package names are GBK
// (code page 936), while the Win32 program passes the system's ANSI code page
// (ansi_code_page.h).
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

// Tells whether a byte opens a double-byte character in one code page. A
// single-byte code page (1252) answers false for every byte.
using LeadByteTest = bool (*)(unsigned char);

// Position of the next backslash at or after `from`, stepping character by
// character from the start of s so that lead and trail bytes stay aligned;
// std::string::npos when there is none. A lead byte always takes the byte after
// it, whatever that byte is.
std::size_t FindBackslash(const std::string& s, std::size_t from,
                          LeadByteTest isLead = IsGbkLeadByte);

// Position of the last backslash of s found the same way; npos when none.
std::size_t FindLastBackslash(const std::string& s, LeadByteTest isLead = IsGbkLeadByte);

}  // namespace qz
