#include "integration/install_record.h"

#include "common/texts.h"
#include "integration/registry_key.h"

namespace qz {

void WriteInstallRecord(RegistryStore& store, const std::string& installDir) {
    CRegistryKey key(store);
    key.SelectRoot(kHkeyLocalMachine);
    if (!key.OpenPath(kRegistryKeyPath, true)) {
        return;
    }
    key.PutString(kRegistryValueVer, kProductVersion);
    key.PutString(kRegistryValuePath, installDir);
}

RecordRemoval RemoveInstallRecord(RegistryStore& store, const std::string& installDir) {
    CRegistryKey key(store);
    key.SelectRoot(kHkeyLocalMachine);
    std::string recorded;
    if (!key.OpenPath(kRegistryKeyPath, false) || !key.GetString(kRegistryValuePath, &recorded)) {
        return RecordRemoval::kAbsent;
    }
    if (recorded != installDir) {
        return RecordRemoval::kElsewhere;
    }
    std::string version;
    if (key.GetString(kRegistryValueVer, &version) && !key.DeleteValue(kRegistryValueVer)) {
        return RecordRemoval::kFailed;
    }
    if (!key.DeleteValue(kRegistryValuePath)) {
        return RecordRemoval::kFailed;
    }
    // The product's key, then the publisher's above it, each only when empty.
    const std::string product_key = kRegistryKeyPath;
    if (key.DeletePathIfEmpty(product_key)) {
        key.DeletePathIfEmpty(product_key.substr(0, product_key.rfind('\\')));
    }
    return RecordRemoval::kRemoved;
}

}  // namespace qz
