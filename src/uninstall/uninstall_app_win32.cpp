#include "uninstall/uninstall_app_win32.h"

#include <windows.h>

#include <string>

#include "common/constants.h"
#include "common/module_dir.h"
#include "common/texts.h"
#include "common/unique_handle_win32.h"
#include "framework/message_box.h"
#include "uninstall/uninstall_options.h"
#include "uninstall/working_copy_run_win32.h"
#include "uninstall/working_copy_win32.h"

CUninstallApp theApp;

namespace {

// The removal of the installation that holds this uninstall.exe: the folder
// of its module path, whatever the current directory or the registry say.
int Uninstall(bool silent) {
    // Inherited by the working copy, so the object lives until the copy ends.
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    const UniqueHandle running(::CreateMutexA(&inherit, FALSE, qz::kUninstallMutexName));
    if (!running || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        if (!silent) {
            AfxMessageBox(qz::kMsgUninstallBusy, MB_OK);
        }
        return running ? kUninstallBusy : kUninstallNoWorkingCopy;
    }
    const std::string install_dir = qz::GetModuleDir();
    if (install_dir.empty()) {
        return kUninstallNoWorkingCopy;
    }
    if (!silent && AfxMessageBox(qz::kMsgUninstallConfirm, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return kUninstallRemoved;
    }
    const int outcome = qz::RunInWorkingCopy(install_dir, silent);
    if (!silent && outcome == kUninstallNoWorkingCopy) {
        AfxMessageBox(qz::kMsgUninstallNoWorkingCopy, MB_OK | MB_ICONWARNING);
    }
    return outcome;
}

}  // namespace

BOOL CUninstallApp::InitInstance() {
    switch (qz::ParseUninstallCommandLine(m_lpCmdLine)) {
        case qz::UninstallMode::kWorkingCopy:
            m_nExitCode = qz::RunWorkingCopy();
            break;
        case qz::UninstallMode::kSilent:
            m_nExitCode = Uninstall(true);
            break;
        case qz::UninstallMode::kInteractive:
            // The interactive uninstaller tells its outcome on the screen.
            Uninstall(false);
            m_nExitCode = kUninstallRemoved;
            break;
        case qz::UninstallMode::kUnknownOption:
            m_nExitCode = kUninstallUnknownOption;
            break;
    }
    return FALSE;
}
