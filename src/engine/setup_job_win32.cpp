#include "engine/setup_job_win32.h"

#include "common/install_dir.h"
#include "common/module_dir.h"
#include "common/texts.h"
#include "engine/name_code_page.h"
#include "integration/shortcuts.h"

namespace qz {

SetupJob::SetupJob(ExtractionUi& ui, std::vector<std::unique_ptr<PackageEntry>>& entries,
                   std::atomic<int>& state) {
    m_job.install_dir = g_strInstallDir;
    m_job.fs = &m_files;
    m_job.names = AnsiNameCodePage();
    m_job.ui = &ui;
    m_job.open_package = [this]() {
        // data.dat is opened by its relative name in the setup directory.
        GetModuleDir();
        return m_files.OpenRead(kPackageFileName);
    };
    m_job.entries = &entries;
    m_job.state = &state;
    m_job.create_shortcuts = []() { CreateShortcuts(); };
}

}  // namespace qz
