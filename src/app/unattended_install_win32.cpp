#include "app/unattended_install_win32.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/silent_ui_win32.h"
#include "common/ansi_code_page.h"
#include "common/install_dir.h"
#include "common/install_path_rules.h"
#include "common/logged_file_system_win32.h"
#include "common/module_dir.h"
#include "common/run_log_win32.h"
#include "common/texts.h"
#include "engine/extractor.h"
#include "engine/setup_job_win32.h"
#include "integration/install_record.h"
#include "integration/logged_registry_store_win32.h"
#include "integration/registry_store_win32.h"
#include "integration/shortcuts.h"

namespace qz {
namespace {

// The directory the page would have confirmed: DIR as typed, or its proposal
// from ProgramFiles.
std::string TypedDirectory(const UnattendedRequest& request) {
    if (request.hasDir) {
        return request.dir;
    }
    GetModuleDir();
    char buffer[kDefaultPathBufferSize] = {};
    const DWORD returned = ::GetEnvironmentVariableA(kProgramFilesVariable, buffer, sizeof(buffer));
    return DefaultInstallDir(buffer, sizeof(buffer), returned, IsAnsiLeadByte);
}

// Each shortcut saved, or not, as a line of the run's log.
class LoggedShortcuts final : public ShortcutReport {
  public:
    explicit LoggedShortcuts(RunLog& log) : m_log(log) {}
    void Saved(const std::string& link, std::int32_t result) override {
        if (result == 0) {
            m_log.Event(kRunLogShortcutWritten, link);
        } else {
            m_log.Failure(kRunLogShortcutFailed, link, static_cast<std::uint32_t>(result));
        }
    }

  private:
    RunLog& m_log;
};

// Everything after the log is open; returns the exit code. Throws only for
// want of memory.
int Install(const UnattendedRequest& request, RunLog& log) {
    const std::string typed = TypedDirectory(request);
    if (!IsValidInstallPath(typed)) {
        log.Event(kRunLogInvalidDir, typed);
        return kExitInvalidDirectory;
    }
    g_strInstallDir = WithTrailingSeparator(typed, IsAnsiLeadByte);
    log.Event(kRunLogInstallDir, g_strInstallDir);

    SilentUi ui(log);
    std::vector<std::unique_ptr<PackageEntry>> entries;
    std::atomic<int> state{kStateNotStarted};
    LoggedRegistryStore registry(DefaultRegistryStore(), log);
    LoggedShortcuts shortcuts(log);
    SetupJob setup(ui, entries, state, &registry, &shortcuts);
    // Every write of the extraction, and the opening of data.dat, seen from
    // outside the loop.
    ExtractJob& job = setup.job();
    LoggedFileSystem files(*job.fs, log);
    job.fs = &files;
    auto openPackage = job.open_package;
    job.open_package = [&log, openPackage]() {
        std::unique_ptr<ReadStream> package = openPackage();
        if (!package) {
            log.Failure(kRunLogPackageFailed, kPackageFileName, ::GetLastError());
        }
        return package;
    };
    const ExtractResult result = RunInstallWorker(job);
    WriteInstallRecord(registry, g_strInstallDir);
    return UnattendedExitCode(result, ui.RunningCopySeen());
}

}  // namespace

int RunUnattendedInstall(const UnattendedRequest& request) noexcept {
    if (request.mode != UnattendedRequest::kInstall) {
        return kExitUnknownOption;
    }
    try {
        // Before anything else, so that a relative path is taken from the
        // directory the program was started in.
        RunLog log;
        if (request.hasLog && !log.Create(request.log)) {
            return kExitLogFailed;
        }
        log.Event(kRunLogCommandLine, ::GetCommandLineA());
        int code = kExitCreateFailed;
        try {
            code = Install(request, log);
        } catch (...) {
            // Only for want of memory, before the extraction began.
            code = kExitCreateFailed;
        }
        log.Event(kRunLogExitCode, std::to_string(code));
        return code;
    } catch (...) {
        return kExitCreateFailed;
    }
}

}  // namespace qz
