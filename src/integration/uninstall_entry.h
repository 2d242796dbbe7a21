// The product's entry in the system's list of installed programs: the key
// kUninstallEntryKeyPath under HKEY_LOCAL_MACHINE, which Settings and the
// package managers read to show and to remove the product.
#pragma once

#include <cstdint>
#include <string>

#include "common/dbcs.h"
#include "integration/registry_store.h"

namespace qz {

// The install directory as InstallLocation holds it: `installDir` (ending
// with a separator) without that separator, except for a drive's root
// ("C:\" stays "C:\"). `isLead` is the code page the path is written in.
std::string InstallLocationOf(const std::string& installDir, LeadByteTest isLead = IsGbkLeadByte);

// The size InstallLocation's files take, for EstimatedSize: `packageBytes`
// (the sum of the package's file sizes) in KiB, rounded up.
std::uint32_t EstimatedSizeKib(std::int64_t packageBytes);

// Creates the key if missing and writes, in this order: DisplayName
// (kProductName), DisplayVersion (kProductVersion), Publisher
// (kPublisherName), InstallLocation, DisplayIcon (the application),
// UninstallString (the uninstaller's path in quotes), QuietUninstallString
// (the same and " /S"), EstimatedSize (REG_DWORD, KiB), InstallDate
// (`installDate`, YYYYMMDD), NoModify and NoRepair (REG_DWORD 1). Strings
// are stored as they stand (narrow, in the code page of `installDir`) with no
// length limit but the registry's. When the key cannot be created nothing is
// written; a value that fails does not stop the others. Returns true when the
// key and every value were written.
bool WriteUninstallEntry(RegistryStore& store, const std::string& installDir,
                         std::int64_t packageBytes, const std::string& installDate,
                         LeadByteTest isLead = IsGbkLeadByte);

enum class EntryRemoval {
    kRemoved,    // its values deleted, and the key when nothing else was in it
    kAbsent,     // no entry, or one without InstallLocation: nothing to do
    kElsewhere,  // its InstallLocation names another directory: kept
    kFailed,     // a value could not be deleted
};

// Removes the entry of the installation in `installDir` (ends with a
// separator) only when its InstallLocation is exactly
// InstallLocationOf(installDir): the values WriteUninstallEntry writes, then
// the key when nothing else is in it. Returns an EntryRemoval.
EntryRemoval RemoveUninstallEntry(RegistryStore& store, const std::string& installDir,
                                  LeadByteTest isLead = IsGbkLeadByte);

}  // namespace qz
