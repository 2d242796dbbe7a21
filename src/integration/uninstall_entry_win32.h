// The product's entry in the list of installed programs, written by the setup
// program after a successful installation. Windows only; the header needs no
// Windows headers.
#pragma once

#include <cstdint>

#include "integration/registry_store.h"

namespace qz {

// When g_strInstallDir holds the file kUninstallExe, writes the entry
// (WriteUninstallEntry) through `store` for that directory, with
// `packageBytes` as the package's total and today's local date; paths are
// split in the system's ANSI code page. Without an uninstaller nothing is
// written. Returns true when the entry was written whole. Throws nothing.
bool RecordUninstallEntry(RegistryStore& store, std::int64_t packageBytes) noexcept;

}  // namespace qz
