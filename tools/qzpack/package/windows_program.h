// Whether a file is a Windows program the installer can start: the product's
// programs are looked at, since the finish page starts them and the
// shortcuts point at them.
#pragma once

#include <cstddef>
#include <string_view>

namespace qz::pack {

// How much of a file's beginning IsWindowsProgram looks at: linkers put the
// PE header within the first few hundred bytes.
constexpr std::size_t kProgramHeadSize = 4096;

// True when head (a file's first kProgramHeadSize bytes, or the whole file
// when it is shorter) starts with an MZ header whose offset at 0x3C leads,
// within head, to the signature "PE\0\0" and the machine type of x86
// (0x014C) or x64 (0x8664).
bool IsWindowsProgram(std::string_view head);

}  // namespace qz::pack
