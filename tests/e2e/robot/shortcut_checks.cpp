#include "robot/shortcut_checks.h"

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

void CheckShortcut(const std::string& link, const std::string& target, const std::string& dir,
                   const std::string& description) {
    const Shortcut s = ReadShortcut(link);
    if (!Check(s.loaded, "shortcut " + Printable(link) + " exists"))
        return;
    CheckEqual(s.target, target, link + ": target");
    CheckEqual(s.workingDirectory, dir, link + ": start directory");
    CheckEqual(s.description, description, link + ": description");
}

void CheckShortcutsFor(const std::string& installDir) {
    CheckShortcut(DesktopLink(), installDir + "ravik.exe", installDir, "Qorvane");
    CheckShortcut(ProgramsAppLink(), installDir + "ravik.exe", installDir, "Qorvane");
    CheckShortcut(ProgramsUninstallLink(), installDir + "uninstall.exe", installDir, "卸载");
    Check(!FileExists(DesktopFolder() + "\\" + kUninstallLink),
          "no uninstall shortcut on the desktop");
}

void CheckNoShortcuts() {
    Check(!FileExists(DesktopLink()), "no desktop shortcut");
    Check(!DirExists(ProgramsFolder() + "\\Qorvane"), "no Programs folder Qorvane");
}

}  // namespace robot
