// The uninstaller's last message: that Qorvane was removed, or what stayed and
// why, or why nothing was removed.
#pragma once

#include "uninstall/removal_plan.h"

namespace qz {

// Shows the message for `outcome` and waits for the user; a removal the user
// cancelled at the running-copy question shows nothing more.
void ShowOutcome(const UninstallOutcome& outcome);

}  // namespace qz
