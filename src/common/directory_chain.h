// Creates every directory level that a path names up to its last backslash.
#pragma once

#include <string>

#include "common/dbcs.h"

namespace qz {

class FileSystem;

// For each backslash at byte position p found from position 3 on, character by
// character in the code page that `isLead` describes (position 3 skips a drive
// root such as C:\ here), creates the first p + 1 bytes of path. Every result
// is ignored: levels that exist or cannot be made pass silently. Text after the
// last backslash is never created.
void CreateDirectoryChain(const std::string& path, FileSystem& fs,
                          LeadByteTest isLead = IsGbkLeadByte);

// The same on the Windows file system (CreateDirectoryA), the levels found in
// the system's ANSI code page. Windows only.
void CreateDirectoryChain(const std::string& path);

}  // namespace qz
