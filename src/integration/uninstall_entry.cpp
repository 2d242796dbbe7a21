#include "integration/uninstall_entry.h"

#include "common/install_path_rules.h"
#include "common/texts.h"
#include "integration/registry_key.h"
#include "integration/registry_values.h"

namespace qz {

std::string InstallLocationOf(const std::string& installDir, LeadByteTest isLead) {
    const bool driveRoot = installDir.size() == 3 && installDir[1] == ':';
    if (driveRoot || !EndsWithSeparator(installDir, isLead)) {
        return installDir;
    }
    return installDir.substr(0, installDir.size() - 1);
}

std::uint32_t EstimatedSizeKib(std::int64_t packageBytes) {
    if (packageBytes <= 0) {
        return 0;
    }
    return static_cast<std::uint32_t>((packageBytes + 1023) / 1024);
}

bool WriteUninstallEntry(RegistryStore& store, const std::string& installDir,
                         std::int64_t packageBytes, const std::string& installDate,
                         LeadByteTest isLead) {
    const std::string uninstaller = "\"" + installDir + kUninstallExe + "\"";
    const struct {
        const char* name;
        std::string value;
    } strings[] = {
        {kEntryDisplayName, kProductName},
        {kEntryDisplayVersion, kProductVersion},
        {kEntryPublisher, kPublisherName},
        {kEntryInstallLocation, InstallLocationOf(installDir, isLead)},
        {kEntryDisplayIcon, installDir + kAppExe},
        {kEntryUninstallString, uninstaller},
        {kEntryQuietUninstallString, uninstaller + kQuietUninstallOption},
    };
    // Everything that allocates is done before the key is open.
    RegHandle key = 0;
    if (store.CreateKey(kHkeyLocalMachine, kUninstallEntryKeyPath, kRegOptionNonVolatile,
                        kKeyAllAccess, &key) != kErrorSuccess) {
        return false;
    }
    bool written = true;
    for (const auto& value : strings) {
        written &= SetStringValue(store, key, value.name, value.value) == kErrorSuccess;
    }
    written &= SetDwordValue(store, key, kEntryEstimatedSize, EstimatedSizeKib(packageBytes)) ==
               kErrorSuccess;
    written &= SetStringValue(store, key, kEntryInstallDate, installDate) == kErrorSuccess;
    written &= SetDwordValue(store, key, kEntryNoModify, 1) == kErrorSuccess;
    written &= SetDwordValue(store, key, kEntryNoRepair, 1) == kErrorSuccess;
    store.CloseKey(key);
    return written;
}

EntryRemoval RemoveUninstallEntry(RegistryStore& store, const std::string& installDir,
                                  LeadByteTest isLead) {
    CRegistryKey key(store);
    key.SelectRoot(kHkeyLocalMachine);
    std::string location;
    if (!key.OpenPath(kUninstallEntryKeyPath, false) ||
        !key.GetString(kEntryInstallLocation, &location)) {
        return EntryRemoval::kAbsent;
    }
    if (location != InstallLocationOf(installDir, isLead)) {
        return EntryRemoval::kElsewhere;
    }
    const char* const names[] = {kEntryDisplayName,     kEntryDisplayVersion,
                                 kEntryPublisher,       kEntryDisplayIcon,
                                 kEntryUninstallString, kEntryQuietUninstallString,
                                 kEntryEstimatedSize,   kEntryInstallDate,
                                 kEntryNoModify,        kEntryNoRepair};
    // One that is missing needs no deleting; one that could not be deleted
    // shows in InstallLocation, the last, since all are in the same key.
    for (const char* name : names) {
        key.DeleteValue(name);
    }
    // While InstallLocation stays, a later run finds the entry again.
    if (!key.DeleteValue(kEntryInstallLocation)) {
        return EntryRemoval::kFailed;
    }
    key.DeletePathIfEmpty(kUninstallEntryKeyPath);
    return EntryRemoval::kRemoved;
}

}  // namespace qz
