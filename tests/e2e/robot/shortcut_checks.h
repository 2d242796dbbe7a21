// The three shortcuts an installation makes, where a person finds them, and
// the checks of what they hold.
#pragma once

#include <string>

namespace robot {

// The desktop shortcut, the Start menu's application and uninstall shortcuts.
std::string DesktopLink();
std::string ProgramsAppLink();
std::string ProgramsUninstallLink();

// `link` exists with this target, start directory and description (GBK and
// UTF-16).
void CheckShortcut(const std::string& link, const std::string& target, const std::string& dir,
                   const char* description, const wchar_t* wideDescription);
// The three shortcuts of an installation into `installDir`, and no uninstall
// shortcut on the desktop.
void CheckShortcutsFor(const std::string& installDir);
// No desktop shortcut and no Start menu folder of the product.
void CheckNoShortcuts();

}  // namespace robot
