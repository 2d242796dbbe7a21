#include "engine/setup_job_win32.h"

#include "common/ansi_code_page.h"
#include "common/install_dir.h"
#include "common/module_dir.h"
#include "common/texts.h"
#include "engine/name_code_page.h"
#include "integration/registry_store_win32.h"
#include "integration/shortcuts.h"
#include "integration/uninstall_entry_win32.h"
#ifdef QZ_PINNED_BUILD
#include "engine/pinned_package.h"
#include "engine/pinned_package_win32.h"
#endif

namespace qz {

SetupJob::SetupJob(ExtractionUi& ui, std::vector<std::unique_ptr<PackageEntry>>& entries,
                   std::atomic<int>& state, RegistryStore* registry, ShortcutReport* shortcuts)
    : m_files(g_strInstallDir, IsAnsiLeadByte), m_ui(ui) {
    m_job.install_dir = g_strInstallDir;
    m_job.fs = &m_files;
    m_job.names = AnsiNameCodePage();
    m_job.ui = &m_ui;
    m_job.open_package = [this]() {
        // data.dat is opened by its relative name in the setup directory.
        GetModuleDir();
#ifdef QZ_PINNED_BUILD
        // A pinned program installs only the package it was built for.
        PinnedOpen status = PinnedOpen::kOpened;
        std::unique_ptr<ReadStream> package =
            OpenPinnedPackage(kPackageFileName, DecodePin(kPinnedPackage), &status);
        if (status == PinnedOpen::kCopyFailed) {
            m_job.package_failure = kExtractCreateFailed;
        }
        return package;
#else
        return m_package_files.OpenRead(kPackageFileName);
#endif
    };
    m_job.entries = &entries;
    m_job.state = &state;
    m_job.create_shortcuts = [this, registry, shortcuts]() {
        CreateShortcuts(shortcuts);
        RecordUninstallEntry(registry != nullptr ? *registry : DefaultRegistryStore(),
                             m_ui.Range());
    };
}

}  // namespace qz
