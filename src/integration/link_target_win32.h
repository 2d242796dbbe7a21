// Reading where a shortcut (.lnk) points, through the shell's link object.
// Windows only; the header needs no Windows headers.
#pragma once

#include <string>

namespace qz {

// Loads the link file `link` (a path of the system's code page) and stores its
// target path, as it was set, in *target. Returns false when the file is
// missing or is not a link. Needs COM entered on the calling thread.
bool ReadLinkTarget(const std::string& link, std::string* target);

}  // namespace qz
