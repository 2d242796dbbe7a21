// The shell's folder browser that the directory page's Browse button opens.
#pragma once

#include <windows.h>

namespace robot {

// Waits for the folder browser of `pid`: a visible dialog holding a folder
// tree. Null when none comes within the default wait.
HWND WaitBrowser(DWORD pid);

}  // namespace robot
