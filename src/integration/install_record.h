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

enum class RecordRemoval {
    kRemoved,    // "ver" and "path" deleted (and the keys that were left empty)
    kAbsent,     // no record, or one without a "path": nothing to do
    kElsewhere,  // its "path" names another directory: kept
    kFailed,     // a value could not be deleted
};

// Removes the record of the installation in `installDir` (ends with a
// backslash): only when its "path" is exactly those bytes, the values "ver"
// and "path", then the key when nothing else is in it, then the publisher's
// key above it likewise. Returns a RecordRemoval.
RecordRemoval RemoveInstallRecord(RegistryStore& store, const std::string& installDir);

}  // namespace qz
