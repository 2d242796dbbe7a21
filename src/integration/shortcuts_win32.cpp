#include "integration/shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <string>

#include "common/constants.h"
#include "common/directory_chain.h"
#include "common/install_dir.h"
#include "common/texts.h"
#include "framework/handles.h"
#include "framework/screen_text.h"
#include "integration/shell_folders_win32.h"
#include "integration/shortcut_paths.h"

namespace qz {

namespace {

ComPtr<IShellLinkA> MakeLink() {
    ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.put_void()))) {
        link.reset();
    }
    return link;
}

// The target and the working directory are narrow paths of the system's code
// page; the description is a fixed text (GBK), given through the link's wide
// interface so that it reads the same under any code page.
void Describe(IShellLinkA& link, const std::string& target, const std::string& workingDir,
              const char* description) {
    link.SetPath(target.c_str());
    link.SetWorkingDirectory(workingDir.c_str());
    ComPtr<IShellLinkW> wide;
    if (SUCCEEDED(link.QueryInterface(IID_IShellLinkW, wide.put_void())) && wide) {
        wide->SetDescription(ScreenText().Fixed(description).Wide().c_str());
    } else {
        link.SetDescription(description);
    }
}

// Saves `link` to `path` (GBK), replacing an existing file, and tells
// `report` (may be null) how that went. A shortcut that cannot be written is
// simply missing.
void SaveLink(IShellLinkA& link, const std::string& path, ShortcutReport* report) {
    HRESULT result = E_NOINTERFACE;
    ComPtr<IPersistFile> file;
    if (SUCCEEDED(link.QueryInterface(IID_IPersistFile, file.put_void())) && file) {
        wchar_t wide[kMaxPath] = {};
        result = HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);
        if (::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, kMaxPath) != 0) {
            result = file->Save(wide, TRUE);
        }
    }
    if (report != nullptr) {
        report->Saved(path, SUCCEEDED(result) ? 0 : static_cast<std::int32_t>(result));
    }
}

int WriteShortcuts(ShortcutReport* report) {
    const ComApartment apartment;
    ComPtr<IShellLinkA> appLink = MakeLink();
    if (!appLink) {
        return 1;
    }
    ComPtr<IShellLinkA> uninstallLink = MakeLink();
    if (!uninstallLink) {
        return 1;
    }

    const ShortcutPlan plan =
        PlanShortcuts(g_strInstallDir, SpecialFolderPath(CSIDL_DESKTOPDIRECTORY),
                      SpecialFolderPath(CSIDL_PROGRAMS));
    if (!plan.app_target.empty()) {
        Describe(*appLink, plan.app_target, plan.working_dir, kAppShortcutDescription);
    }
    if (!plan.uninstall_target.empty()) {
        Describe(*uninstallLink, plan.uninstall_target, plan.working_dir,
                 kUninstallShortcutDescription);
    }

    if (!plan.desktop_link.empty()) {
        SaveLink(*appLink, plan.desktop_link, report);
    }
    // Both Programs links lie in the same sub-folder; the chain makes it from
    // whichever link is made.
    const std::string& programsLink =
        plan.programs_app_link.empty() ? plan.programs_uninstall_link : plan.programs_app_link;
    if (!programsLink.empty()) {
        CreateDirectoryChain(programsLink);
    }
    if (!plan.programs_app_link.empty()) {
        SaveLink(*appLink, plan.programs_app_link, report);
    }
    appLink.reset();
    if (!plan.programs_uninstall_link.empty()) {
        SaveLink(*uninstallLink, plan.programs_uninstall_link, report);
    }
    return 0;
}

}  // namespace

int CreateShortcuts(ShortcutReport* report) noexcept {
    try {
        return WriteShortcuts(report);
    } catch (...) {
        // Only memory can run out here; the shortcuts are then incomplete.
        return 1;
    }
}

}  // namespace qz
