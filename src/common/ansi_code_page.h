// The system's ANSI code page, which the narrow Win32 functions use for every
// path and text: a user's Windows may run any code page, double-byte (936) or
// single-byte (1252). Windows only; the header itself needs no Windows headers.
#pragma once

namespace qz {

// True when `c` opens a double-byte character in the ANSI code page the
// process runs with (IsDBCSLeadByte); never true under a single-byte code page.
bool IsAnsiLeadByte(unsigned char c);

}  // namespace qz
