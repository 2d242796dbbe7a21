// The host dialog's arithmetic, kept free of Win32 so that it can be tested
// anywhere.
#pragma once

#include "res/resource.h"

namespace qz {

// True for the system menu's About item. Windows uses the low four bits of a
// system command id internally, so they are masked off before comparing.
constexpr bool IsAboutCommand(unsigned int commandId) {
    return (commandId & 0xFFF0u) == IDM_ABOUTBOX;
}

struct IconOrigin {
    int x;
    int y;
};

// Where a minimised host draws its icon: centred in the client area, in signed
// arithmetic whose division truncates toward zero (a 30-wide client and a
// 32-wide icon give x = 0, not -1).
constexpr IconOrigin CentreIcon(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
    return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}

}  // namespace qz
