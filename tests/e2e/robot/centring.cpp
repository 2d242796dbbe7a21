#include "robot/centring.h"

#include <cstdlib>

#include "robot/report.h"
#include "robot/ui.h"

namespace robot {

void CheckCentred(HWND window, const char* what) {
    const RECT rect = RectOf(window);
    const RECT desktop = RectOf(::GetDesktopWindow());
    const int dx = (rect.left + rect.right) / 2 - (desktop.left + desktop.right) / 2;
    const int dy = (rect.top + rect.bottom) / 2 - (desktop.top + desktop.bottom) / 2;
    Check(std::abs(dx) <= 1 && std::abs(dy) <= 1,
          Format("%s is centred on the desktop (off by %d, %d)", what, dx, dy));
}

}  // namespace robot
