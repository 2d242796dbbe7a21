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

}  // namespace qz
