#include "uninstall/uninstall_app_win32.h"

#include <windows.h>

#include <string>

#include "common/constants.h"
#include "common/module_dir.h"
#include "common/run_log_win32.h"
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
// *log_handed: the working copy took the log over.
int Uninstall(bool silent, qz::RunLog& log, bool* log_handed) {
    *log_handed = false;
    // Inherited by the working copy, so the object lives until the copy ends.
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    const UniqueHandle running(::CreateMutexA(&inherit, FALSE, qz::kUninstallMutexName));
    if (!running || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        if (!silent) {
            AfxMessageBox(qz::kMsgUninstallBusy, MB_OK);
        }
        log.FixedEvent(qz::kRunLogMessage, qz::kMsgUninstallBusy);
        return running ? kUninstallBusy : kUninstallNoWorkingCopy;
    }
    const std::string install_dir = qz::GetModuleDir();
    if (install_dir.empty()) {
        return kUninstallNoWorkingCopy;
    }
    if (!silent && AfxMessageBox(qz::kMsgUninstallConfirm, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return kUninstallRemoved;
    }
    const int outcome = qz::RunInWorkingCopy(install_dir, silent, log.handle(), log_handed);
    if (outcome == kUninstallNoWorkingCopy) {
        if (!silent) {
            AfxMessageBox(qz::kMsgUninstallNoWorkingCopy, MB_OK | MB_ICONWARNING);
        }
        log.FixedEvent(qz::kRunLogMessage, qz::kMsgUninstallNoWorkingCopy);
    }
    return outcome;
}

// /S: the log first, so that a relative path is taken from the directory
// the program was started in and nothing is done when it cannot be made.
int UninstallSilently(const qz::UninstallRequest& request) noexcept {
    try {
        qz::RunLog log;
        if (request.has_log && !log.Create(request.log)) {
            return kUninstallLogFailed;
        }
        log.Event(qz::kRunLogCommandLine, ::GetCommandLineA());
        bool log_handed = false;
        const int code = Uninstall(true, log, &log_handed);
        if (!log_handed) {
            log.Event(qz::kRunLogExitCode, std::to_string(code));
        }
        return code;
    } catch (...) {
        // Only for want of memory, before the working copy took over.
        return kUninstallNoWorkingCopy;
    }
}

}  // namespace

BOOL CUninstallApp::InitInstance() {
    const qz::UninstallRequest request = qz::ParseUninstallCommandLine(m_lpCmdLine);
    switch (request.mode) {
        case qz::UninstallMode::kWorkingCopy:
            m_nExitCode = qz::RunWorkingCopy();
            break;
        case qz::UninstallMode::kSilent:
            m_nExitCode = UninstallSilently(request);
            break;
        case qz::UninstallMode::kInteractive: {
            // The interactive uninstaller tells its outcome on the screen.
            qz::RunLog none;
            bool handed = false;
            Uninstall(false, none, &handed);
            m_nExitCode = kUninstallRemoved;
            break;
        }
        case qz::UninstallMode::kUnknownOption:
            m_nExitCode = kUninstallUnknownOption;
            break;
    }
    return FALSE;
}
