#include "uninstall/working_copy_run_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "common/ansi_code_page.h"
#include "common/constants.h"
#include "common/dbcs.h"
#include "common/file_removal_win32.h"
#include "common/file_system_win32.h"
#include "common/logged_file_removal_win32.h"
#include "common/logged_file_system_win32.h"
#include "common/run_log_win32.h"
#include "common/texts.h"
#include "common/unique_handle_win32.h"
#include "engine/name_code_page.h"
#include "framework/handles.h"
#include "framework/win_app.h"
#include "integration/logged_registry_store_win32.h"
#include "integration/registry_store_win32.h"
#include "integration/shell_folders_win32.h"
#include "uninstall/handoff_win32.h"
#include "uninstall/outcome_message_win32.h"
#include "uninstall/uninstall_dlg.h"
#include "uninstall/uninstall_ui_win32.h"

namespace qz {
namespace {

// The folder this copy runs from, ending with a backslash; empty when unknown.
std::string OwnFolder(std::string* self) {
    char path[kMaxPath] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, kMaxPath);
    if (length == 0 || length >= kMaxPath) {
        return std::string();
    }
    *self = path;
    const std::size_t cut = FindLastBackslash(*self, &IsAnsiLeadByte);
    return cut == std::string::npos ? std::string() : self->substr(0, cut + 1);
}

// Where a running image cannot be deleted (Windows, and Wine), its file and
// then its folder are removed when the system next starts.
void RemoveSelfAtRestart(const std::string& self, const std::string& folder) {
    if (!::DeleteFileA(self.c_str())) {
        ::MoveFileExA(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    const std::string level = folder.substr(0, folder.size() - 1);
    if (!::RemoveDirectoryA(level.c_str())) {
        ::MoveFileExA(level.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
}

// The message the window would show for a list that removes nothing.
void LogRefusal(RunLog& log, int result) {
    if (result == kUninstallNothingHere) {
        log.FixedEvent(kRunLogMessage, kMsgUninstallNothingHere);
    } else if (result == kUninstallListRefused) {
        log.FixedEvent(kRunLogMessage, kMsgUninstallListRefused);
    }
}

}  // namespace

int RunWorkingCopy() {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    Handoff handoff;
    if (input == nullptr || output == nullptr || ::GetFileType(input) != FILE_TYPE_PIPE ||
        ::GetFileType(output) != FILE_TYPE_PIPE || !ReceiveHandoff(input, &handoff) ||
        ::WaitForSingleObject(handoff.parent, 0) == WAIT_FAILED) {
        return kUninstallNoWorkingCopy;
    }
    const UniqueHandle parent(handoff.parent);
    RunLog log;
    if (handoff.log != nullptr) {
        log.Adopt(UniqueHandle(handoff.log));
    }
    std::string self;
    const std::string folder = OwnFolder(&self);
    if (folder.empty()) {
        return kUninstallNoWorkingCopy;
    }
    // Not the install directory: it has to go.
    ::SetCurrentDirectoryA(folder.c_str());

    const ComApartment apartment;
    log.Event(kRunLogInstallDir, handoff.install_dir);
    Win32FileSystem plain_fs;
    LoggedFileSystem fs(plain_fs, log);
    Win32FileRemoval plain_removal(&IsAnsiLeadByte);
    LoggedFileRemoval removal(plain_removal, log, handoff.install_dir);
    LoggedRegistryStore registry(DefaultRegistryStore(), log);
    ShellLinkTargets links;
    UninstallJob job;
    job.install_dir = handoff.install_dir;
    job.fs = &fs;
    job.removal = &removal;
    job.names = AnsiNameCodePage();
    job.links = &links;
    job.desktop_dir = SpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
    job.programs_dir = SpecialFolderPath(CSIDL_PROGRAMS);
    job.registry = &registry;

    UninstallOutcome outcome;
    if (handoff.silent) {
        SilentUninstallUi ui(log);
        job.ui = &ui;
        outcome = RemoveInstallation(job);
        LogRefusal(log, outcome.result);
    } else {
        CUninstallDlg dlg(job);
        AfxGetApp()->m_pMainWnd = &dlg;
        dlg.DoModal();
        AfxGetApp()->m_pMainWnd = nullptr;
        outcome = std::move(dlg.m_outcome);
    }
    plain_removal.Release();
    SendOutcome(output, static_cast<std::uint32_t>(outcome.result));
    ::CloseHandle(output);
    ::SetStdHandle(STD_OUTPUT_HANDLE, nullptr);

    ::WaitForSingleObject(parent.get(), INFINITE);
    if (outcome.remove_uninstaller) {
        if (!RemoveUninstaller(removal, job.install_dir, &outcome.marked)) {
            outcome.result = kUninstallPartly;
            outcome.left.push_back({job.install_dir + kUninstallExe, Removal::kFailed});
        } else if (outcome.result == kUninstallRemoved && !outcome.marked.empty()) {
            outcome.result = kUninstallRestartRequired;
        }
    }
    plain_removal.Release();
    // Last, the exit code the uninstaller that was started returned.
    DWORD code = 0;
    if (log.IsOpen() && ::GetExitCodeProcess(parent.get(), &code)) {
        log.Event(kRunLogExitCode, std::to_string(code));
    }
    if (!handoff.silent) {
        ShowOutcome(outcome);
    }
    RemoveSelfAtRestart(self, folder);
    return outcome.result;
}

}  // namespace qz
