#include "integration/registry_store_win32.h"

#include "integration/registry_key.h"

namespace qz {
namespace {

// The product's record belongs in the 32-bit registry view: the shipped
// program is 32-bit, and on 64-bit Windows its HKLM\Software keys live under
// Software\Wow6432Node. For that program the flag changes nothing; it makes
// the 64-bit build (used for the tests) write exactly where the shipped
// program would.
REGSAM ToSam(std::uint32_t access) {
    return static_cast<REGSAM>(access) | KEY_WOW64_32KEY;
}

}  // namespace

// The predefined roots are 32-bit values; on 64-bit Windows the real handles
// are those values sign-extended (0x80000002 is 0xFFFFFFFF80000002), so they
// are mapped one by one rather than cast.
HKEY ToHkey(RegHandle key) {
    switch (key) {
        case kHkeyClassesRoot:
            return HKEY_CLASSES_ROOT;
        case kHkeyCurrentUser:
            return HKEY_CURRENT_USER;
        case kHkeyLocalMachine:
            return HKEY_LOCAL_MACHINE;
        case kHkeyUsers:
            return HKEY_USERS;
        case kHkeyPerformanceData:
            return HKEY_PERFORMANCE_DATA;
        case kHkeyCurrentConfig:
            return HKEY_CURRENT_CONFIG;
        default:
            return reinterpret_cast<HKEY>(key);
    }
}

RegStatus Win32RegistryStore::CreateKey(RegHandle root, const std::string& path,
                                        std::uint32_t options, std::uint32_t access,
                                        RegHandle* handle) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG result = ::RegCreateKeyExA(ToHkey(root), path.c_str(), 0, nullptr, options,
                                          ToSam(access), nullptr, &key, &disposition);
    if (result == ERROR_SUCCESS) {
        *handle = reinterpret_cast<RegHandle>(key);
    }
    return result;
}

RegStatus Win32RegistryStore::OpenKey(RegHandle root, const std::string& path, std::uint32_t access,
                                      RegHandle* handle) {
    HKEY key = nullptr;
    const LONG result = ::RegOpenKeyExA(ToHkey(root), path.c_str(), 0, ToSam(access), &key);
    if (result == ERROR_SUCCESS) {
        *handle = reinterpret_cast<RegHandle>(key);
    }
    return result;
}

RegStatus Win32RegistryStore::SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                                       const void* data, std::uint32_t size) {
    return ::RegSetValueExA(ToHkey(key), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                            size);
}

RegStatus Win32RegistryStore::FlushKey(RegHandle key) {
    return ::RegFlushKey(ToHkey(key));
}

RegStatus Win32RegistryStore::CloseKey(RegHandle key) {
    return ::RegCloseKey(ToHkey(key));
}

RegistryStore& DefaultRegistryStore() {
    static Win32RegistryStore store;
    return store;
}

}  // namespace qz

CRegistryKey::CRegistryKey() : CRegistryKey(qz::DefaultRegistryStore()) {}
