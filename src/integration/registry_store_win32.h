// The process's registry (ADVAPI32) as a RegistryStore.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "integration/registry_store.h"

namespace qz {

// Every key is opened in the 32-bit registry view (see the .cpp). The
// predefined roots kHkey... map to the platform's predefined keys; any other
// root is taken as a key handle this store returned.
class Win32RegistryStore final : public RegistryStore {
  public:
    RegStatus CreateKey(RegHandle root, const std::string& path, std::uint32_t options,
                        std::uint32_t access, RegHandle* handle) override;
    RegStatus OpenKey(RegHandle root, const std::string& path, std::uint32_t access,
                      RegHandle* handle) override;
    RegStatus SetValue(RegHandle key, const std::string& name, std::uint32_t type, const void* data,
                       std::uint32_t size) override;
    RegStatus FlushKey(RegHandle key) override;
    RegStatus CloseKey(RegHandle key) override;
    RegStatus QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                         std::string* data) override;
    RegStatus DeleteValue(RegHandle key, const std::string& name) override;
    RegStatus CountContents(RegHandle key, std::uint32_t* subkeys, std::uint32_t* values) override;
    RegStatus DeleteKey(RegHandle root, const std::string& path) override;
};

// The platform key that `key` names: each predefined root kHkey... becomes the
// platform's own predefined handle (sign-extended on 64-bit Windows); any other
// value is taken as a handle this store returned.
HKEY ToHkey(RegHandle key);

// The store that a default-constructed CRegistryKey uses: one Win32RegistryStore
// for the whole process (it has no state).
RegistryStore& DefaultRegistryStore();

}  // namespace qz
