// Creates every directory level that a path names up to its last backslash.
#pragma once

#include <string>

namespace qz {

class FileSystem;

// For each backslash at byte position p found from position 3 on (DBCS-aware,
// so a drive root such as C:\ is skipped), creates the first p + 1 bytes of
// path. Every result is ignored: levels that exist or cannot be made pass
// silently. Text after the last backslash is never created.
void CreateDirectoryChain(const std::string& path, FileSystem& fs);

// The same on the Windows file system (CreateDirectoryA). Windows only.
void CreateDirectoryChain(const std::string& path);

}  // namespace qz
