#include "robot/progress_view.h"

#include <commctrl.h>

#include "res/resource.h"
#include "robot/ui.h"

namespace robot {

ProgressView Look(HWND page) {
    ProgressView view;
    HWND bar = Item(page, IDC_PROGRESS);
    view.position = static_cast<int>(::SendMessageA(bar, PBM_GETPOS, 0, 0));
    view.upper = static_cast<int>(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
    view.status = WindowText(Item(page, IDC_STATUS));
    return view;
}

}  // namespace robot
