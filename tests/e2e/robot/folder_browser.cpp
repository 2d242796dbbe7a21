#include "robot/folder_browser.h"

#include <commctrl.h>

#include "robot/ui.h"

namespace robot {

HWND WaitBrowser(DWORD pid) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND dialog : Dialogs(pid)) {
            if (::FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr) != nullptr) {
                found = dialog;
                return true;
            }
        }
        return false;
    });
    return found;
}

}  // namespace robot
