// SetupJob: the extraction job as the setup program runs it: data.dat beside
// the setup executable, unpacked into g_strInstallDir through the file layer
// that reaches nothing through a link below the install directory
// (NoLinkFileSystem), the shortcuts and the entry in the list of installed
// programs made after a success. Windows only; the header includes <windows.h>.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "common/file_system_win32.h"
#include "common/no_link_file_system_win32.h"
#include "engine/extraction_ui.h"
#include "engine/extractor.h"
#include "engine/package_format.h"
#include "engine/range_keeping_ui.h"
#include "integration/registry_store.h"
#include "integration/shortcuts.h"

namespace qz {

class SetupJob {
  public:
    // `ui`, `entries` and `state` are the caller's (the progress page's user
    // interface, entry list and install state) and must outlive the job.
    // data.dat is opened by its relative name once GetModuleDir has made the
    // setup directory current; in a pinned build (QZ_PINNED_BUILD) it is
    // checked against the pin first (OpenPinnedPackage). Names are judged and
    // split in the system's ANSI code page, the one they are opened in. After a
    // success the entry in the list of installed programs goes through
    // `registry` (null: the process's registry), the package's total taken
    // from the progress range, and each shortcut saved is told to `shortcuts`
    // when given. Throws only for want of memory.
    SetupJob(ExtractionUi& ui, std::vector<std::unique_ptr<PackageEntry>>& entries,
             std::atomic<int>& state, RegistryStore* registry = nullptr,
             ShortcutReport* shortcuts = nullptr);
    SetupJob(const SetupJob&) = delete;
    SetupJob& operator=(const SetupJob&) = delete;

    // What ExtractPackage and RunInstallWorker take.
    ExtractJob& job() { return m_job; }

  private:
    Win32FileSystem m_package_files;  // data.dat, beside the setup program
    NoLinkFileSystem m_files;         // the install directory
    RangeKeepingUi m_ui;
    ExtractJob m_job;
};

}  // namespace qz
