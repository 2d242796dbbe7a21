// The installation's extraction as both front ends run it: data.dat beside
// the setup executable, unpacked into g_strInstallDir through the Win32 file
// layer, the shortcuts made after a success.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "engine/extraction_ui.h"
#include "engine/package_format.h"

namespace qz {

// ExtractPackage for g_strInstallDir with `ui`, the Win32 file layer and
// data.dat opened by its relative name once GetModuleDir has made the setup
// directory current; CreateShortcuts after a success. `entries` and `state`
// are the caller's (the progress page's list and install state). Returns 0 on
// success or a failure code 1-4, as ExtractPackage does. Throws nothing.
int ExtractSetupPackage(ExtractionUi& ui, std::vector<std::unique_ptr<PackageEntry>>& entries,
                        std::atomic<int>& state) noexcept;

}  // namespace qz
