#include "app/unattended_install_win32.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

#include "app/silent_ui_win32.h"
#include "common/ansi_code_page.h"
#include "common/install_dir.h"
#include "common/install_path_rules.h"
#include "common/module_dir.h"
#include "common/texts.h"
#include "engine/extractor.h"
#include "engine/setup_job_win32.h"
#include "integration/install_record.h"
#include "integration/registry_store_win32.h"

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

}  // namespace

int RunUnattendedInstall(const UnattendedRequest& request) noexcept {
    if (request.mode != UnattendedRequest::kInstall) {
        return kExitUnknownOption;
    }
    try {
        const std::string typed = TypedDirectory(request);
        if (!IsValidInstallPath(typed)) {
            return kExitInvalidDirectory;
        }
        g_strInstallDir = WithTrailingSeparator(typed, IsAnsiLeadByte);

        SilentUi ui;
        std::vector<std::unique_ptr<PackageEntry>> entries;
        std::atomic<int> state{kStateNotStarted};
        SetupJob setup(ui, entries, state);
        const ExtractResult result = RunInstallWorker(setup.job());
        WriteInstallRecord(DefaultRegistryStore(), g_strInstallDir);
        return UnattendedExitCode(result, ui.RunningCopySeen());
    } catch (...) {
        // Only for want of memory, before the extraction began.
        return kExitCreateFailed;
    }
}

}  // namespace qz
