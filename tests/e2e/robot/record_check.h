// The installer's record under HKEY_LOCAL_MACHINE, checked as the finish page
// writes it.
#pragma once

#include <string>

namespace robot {

// "ver" holds 1.10 and its NUL, a REG_SZ; "path" holds `installDir` and its
// NUL, a REG_SZ, or is absent when `pathWritten` is false.
void CheckRecord(const std::string& installDir, bool pathWritten = true);

}  // namespace robot
