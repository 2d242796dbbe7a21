// The application's name, which captions every message box: the setup
// executable's file name without its extension.
#pragma once

#include <string>

#include "common/dbcs.h"

namespace qz {

// The part of `path` after its last '\', '/' or ':', cut before its last '.'
// ("C:\Setup\Install.exe" gives "Install"; a name without a dot stays whole).
// The path is read character by character in the code page that `isLead`
// describes, so the trail byte 5C of a double-byte character (GBK 乗 = 81 5C)
// is not taken for a separator.
std::string AppNameFromModulePath(const std::string& path, LeadByteTest isLead = IsGbkLeadByte);

}  // namespace qz
