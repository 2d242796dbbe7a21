// Typed values written straight through a RegistryStore under a key it has
// open: strings as long as the registry holds them and 32-bit numbers. (The
// record's CRegistryKey keeps its own 254-byte limit.)
#pragma once

#include <cstdint>
#include <string>

#include "integration/registry_store.h"

namespace qz {

// The most data one value holds in the registry's standard format, in bytes.
constexpr std::size_t kRegistryDataLimit = 1024 * 1024;

// Stores `value` and one NUL as the REG_SZ value `name` of `key`. A value
// whose bytes and NUL exceed kRegistryDataLimit is refused with
// kErrorInvalidParameter before the store is asked. Returns the store's code.
RegStatus SetStringValue(RegistryStore& store, RegHandle key, const std::string& name,
                         const std::string& value);

// Stores `value` as the REG_DWORD value `name` of `key` (four bytes, least
// significant first). Returns the store's code.
RegStatus SetDwordValue(RegistryStore& store, RegHandle key, const std::string& name,
                        std::uint32_t value);

}  // namespace qz
