// The paths of the three shortcuts of one installation, composed under the
// 260-byte rule: every path the shell-link object receives must fit, with its
// terminating NUL, in kMaxPath bytes. A path that does not fit is left out,
// never cut short, and a link whose target is left out is not made at all.
#pragma once

#include <string>

namespace qz {

// What CreateShortcuts writes. An empty string means "not made": an empty
// target leaves its links empty too.
struct ShortcutPlan {
    std::string app_target;         // install dir + kAppExe
    std::string uninstall_target;   // install dir + kUninstallExe
    std::string working_dir;        // the install dir, trailing backslash kept
    std::string desktop_link;       // desktop folder + kDesktopShortcutName
    std::string programs_app_link;  // kProgramsAppShortcutFormat with the Programs folder
    std::string
        programs_uninstall_link;  // kProgramsUninstallShortcutFormat with the Programs folder
};

// `folder` substituted for the one %s of `format`; empty when `folder` is
// empty (a special folder that could not be resolved must not put a link at
// the root of the current drive) or when the result does not fit kMaxPath.
std::string ComposeInFolder(const char* format, const std::string& folder);

// The plan for `install_dir` (ends with a backslash; empty: nothing is made)
// and the two special folders as the shell reported them (empty when they
// could not be resolved).
ShortcutPlan PlanShortcuts(const std::string& install_dir, const std::string& desktop_dir,
                           const std::string& programs_dir);

}  // namespace qz
