// The current user's special folders that the shortcuts go into. Windows only.
#pragma once

#include <string>

namespace qz {

// The file-system path of the special folder `csidl` (CSIDL_DESKTOPDIRECTORY,
// CSIDL_PROGRAMS) of the current user, in the system's code page; empty when
// the shell cannot resolve it. Needs COM entered on the calling thread.
std::string SpecialFolderPath(int csidl);

}  // namespace qz
