#include "integration/shortcut_paths.h"

#include <cstdio>

#include "common/constants.h"
#include "common/texts.h"

namespace qz {

namespace {

bool FitsPathBuffer(const std::string& path) {
    return path.size() < kMaxPath;
}

// `path` itself when it fits, otherwise empty.
std::string IfFits(std::string path) {
    return FitsPathBuffer(path) ? path : std::string();
}

// `link` only when the link's target exists in the plan.
std::string IfTarget(const std::string& target, std::string link) {
    return target.empty() ? std::string() : link;
}

}  // namespace

std::string ComposeInFolder(const char* format, const std::string& folder) {
    if (folder.empty()) {
        return std::string();
    }
    char buffer[kMaxPath] = {};
    // The folder is an argument, never part of the format: a '%' in a folder
    // name stays a plain character.
    const int length = std::snprintf(buffer, sizeof(buffer), format, folder.c_str());
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof(buffer)) {
        return std::string();
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

ShortcutPlan PlanShortcuts(const std::string& install_dir, const std::string& desktop_dir,
                           const std::string& programs_dir) {
    ShortcutPlan plan;
    if (install_dir.empty() || !FitsPathBuffer(install_dir)) {
        return plan;
    }
    plan.working_dir = install_dir;
    plan.app_target = IfFits(install_dir + kAppExe);
    plan.uninstall_target = IfFits(install_dir + kUninstallExe);

    const std::string desktop =
        desktop_dir.empty() ? std::string() : IfFits(desktop_dir + kDesktopShortcutName);
    plan.desktop_link = IfTarget(plan.app_target, desktop);
    plan.programs_app_link =
        IfTarget(plan.app_target, ComposeInFolder(kProgramsAppShortcutFormat, programs_dir));
    plan.programs_uninstall_link = IfTarget(
        plan.uninstall_target, ComposeInFolder(kProgramsUninstallShortcutFormat, programs_dir));
    return plan;
}

}  // namespace qz
