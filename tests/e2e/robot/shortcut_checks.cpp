#include "robot/shortcut_checks.h"

#include <windows.h>

#include "robot/expected_texts.h"
#include "robot/files.h"
#include "robot/report.h"
#include "robot/system_state.h"

namespace robot {

std::string DesktopLink() {
    return DesktopFolder() + "\\Qorvane.lnk";
}
std::string ProgramsAppLink() {
    return ProgramsFolder() + "\\Qorvane\\Qorvane.lnk";
}
std::string ProgramsUninstallLink() {
    return ProgramsFolder() + "\\Qorvane\\" + kUninstallLink;
}

// The description reads the same through the wide interface under every code
// page, and through the narrow one, under code page 936, as its GBK bytes.
void CheckShortcut(const std::string& link, const std::string& target, const std::string& dir,
                   const char* description, const wchar_t* wideDescription) {
    const Shortcut s = ReadShortcut(link);
    if (!Check(s.loaded, "shortcut " + Printable(link) + " exists"))
        return;
    CheckEqual(s.target, target, link + ": target");
    CheckEqual(s.workingDirectory, dir, link + ": start directory");
    if (::GetACP() == 936)
        CheckEqual(s.description, description, link + ": description");
    CheckEqual(s.wideDescription, wideDescription, link + ": description (UTF-16)");
}

void CheckShortcutsFor(const std::string& installDir) {
    const std::string app = installDir + "ravik.exe";
    CheckShortcut(DesktopLink(), app, installDir, kAppLinkDescription, kAppLinkDescriptionWide);
    CheckShortcut(ProgramsAppLink(), app, installDir, kAppLinkDescription, kAppLinkDescriptionWide);
    CheckShortcut(ProgramsUninstallLink(), installDir + "uninstall.exe", installDir,
                  kUninstallLinkDescription, kUninstallLinkDescriptionWide);
    Check(!FileExists(DesktopFolder() + "\\" + kUninstallLink),
          "no uninstall shortcut on the desktop");
}

void CheckNoShortcuts() {
    Check(!FileExists(DesktopLink()), "no desktop shortcut");
    Check(!DirExists(ProgramsFolder() + "\\Qorvane"), "no Programs folder Qorvane");
}

}  // namespace robot
