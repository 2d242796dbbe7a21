// From a program not yet started to a page of the wizard, each step checked
// as a person would see it; the scenario ends when a window does not come.
#pragma once

#include <windows.h>

#include "robot/installer.h"

namespace robot {

// Starts the program, waits for the host and presses its Install button:
// returns the licence page.
HWND StartToLicence(Installer& run);
// As StartToLicence, then agrees and goes on: returns the directory page.
HWND StartToPathPage(Installer& run);

}  // namespace robot
