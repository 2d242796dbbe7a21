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
            break;
        default:
            AfxMessageBox(kMsgUninstallNoWorkingCopy, MB_OK | MB_ICONWARNING);
            return;
    }
    ScreenText text;
    text.Fixed(kMsgUninstallLeftHeading);
    for (std::size_t i = 0; i < outcome.left.size() && i < kItemsShown; ++i) {
        text.Path(outcome.left[i].path).Fixed(Reason(outcome.left[i].why)).Fixed("\r\n");
    }
    if (outcome.left.size() > kItemsShown) {
        text.Fixed(kUninstallLeftMore);
    }
    AfxMessageBox(text, MB_OK | MB_ICONWARNING);
}

}  // namespace qz
