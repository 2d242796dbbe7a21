#include "engine/setup_package_win32.h"

#include "common/ansi_code_page.h"
#include "common/file_system_win32.h"
#include "common/install_dir.h"
#include "common/module_dir.h"
#include "common/texts.h"
#include "engine/extractor.h"
#include "integration/shortcuts.h"

namespace qz {

int ExtractSetupPackage(ExtractionUi& ui, std::vector<std::unique_ptr<PackageEntry>>& entries,
                        std::atomic<int>& state) noexcept {
    try {
        Win32FileSystem files;
        ExtractJob job;
        job.install_dir = g_strInstallDir;
        job.fs = &files;
        job.path_lead_byte = IsAnsiLeadByte;
        job.ui = &ui;
        job.open_package = [&files]() {
            // data.dat is opened by its relative name in the setup directory.
            GetModuleDir();
            return files.OpenRead(kPackageFileName);
        };
        job.entries = &entries;
        job.state = &state;
        job.create_shortcuts = []() { CreateShortcuts(); };
        return ExtractPackage(job);
    } catch (...) {
        // Only setting up the job can throw, and only for want of memory.
        return kExtractCreateFailed;
    }
}

}  // namespace qz
