// The product's registry record: under HKEY_LOCAL_MACHINE, key
// software\tarnwell\velmira (created if missing), the REG_SZ values "ver"
// ("1.10") and then "path" (the install directory, ending with a backslash).
#pragma once

#include <string>

#include "integration/registry_store.h"

namespace qz {

// Writes the record through a CRegistryKey over `store`. When the key cannot
// be created or opened nothing is written; a value that fails (a "path" longer
// than the registry value limit is refused) does not stop the other. Nothing
// is reported: the finish page opens the same way whatever happened.
void WriteInstallRecord(RegistryStore& store, const std::string& installDir);

}  // namespace qz
