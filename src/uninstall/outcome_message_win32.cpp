#include "uninstall/outcome_message_win32.h"

#include <windows.h>

#include "common/texts.h"
#include "framework/message_box.h"
#include "framework/screen_text.h"

namespace qz {
namespace {

// At most this many items are named; a last line says when there are more.
constexpr std::size_t kItemsShown = 12;

const char* Reason(Removal why) {
    switch (why) {
        case Removal::kLink:
            return kUninstallLeftLink;
        case Removal::kWrongKind:
            return kUninstallLeftOther;
        default:
            return kUninstallLeftInUse;
    }
}

}  // namespace

void ShowOutcome(const UninstallOutcome& outcome) {
    switch (outcome.result) {
        case kUninstallRemoved:
            AfxMessageBox(kMsgUninstallDone, MB_OK | MB_ICONINFORMATION);
            return;
        case kUninstallNothingHere:
            AfxMessageBox(kMsgUninstallNothingHere, MB_OK);
            return;
        case kUninstallListRefused:
            AfxMessageBox(kMsgUninstallListRefused, MB_OK | MB_ICONWARNING);
            return;
        case kUninstallRunningCopy:
            return;
        case kUninstallPartly:
        case kUninstallRestartRequired:
            break;
        default:
            AfxMessageBox(kMsgUninstallNoWorkingCopy, MB_OK | MB_ICONWARNING);
            return;
    }
    const bool restart = outcome.result == kUninstallRestartRequired;
    ScreenText text;
    text.Fixed(restart ? kMsgUninstallRestartHeading : kMsgUninstallLeftHeading);
    std::size_t shown = 0;
    for (const LeftItem& item : outcome.left) {
        if (shown++ < kItemsShown) {
            text.Path(item.path).Fixed(Reason(item.why)).Fixed("\r\n");
        }
    }
    for (const std::string& path : outcome.marked) {
        if (shown++ < kItemsShown) {
            text.Path(path).Fixed(restart ? "" : kUninstallLeftAtRestart).Fixed("\r\n");
        }
    }
    if (shown > kItemsShown) {
        text.Fixed(kUninstallLeftMore);
    }
    if (restart) {
        text.Fixed(kMsgUninstallRestartLast);
    }
    AfxMessageBox(text, MB_OK | (restart ? MB_ICONINFORMATION : MB_ICONWARNING));
}

}  // namespace qz
