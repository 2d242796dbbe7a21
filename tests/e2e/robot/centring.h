// Whether a window sits in the middle of the desktop, as the pages must.
#pragma once

#include <windows.h>

namespace robot {

// Checks that `window`'s centre is within a pixel of the desktop's centre;
// `what` names the window in the report ("the finish page").
void CheckCentred(HWND window, const char* what);

}  // namespace robot
