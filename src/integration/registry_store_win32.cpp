#include "integration/registry_store_win32.h"

#include <vector>

#include "framework/system_library.h"
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

RegStatus Win32RegistryStore::QueryValue(RegHandle key, const std::string& name,
                                         std::uint32_t* type, std::string* data) {
    // The value may grow between the two calls: then its size is asked again.
    for (;;) {
        DWORD value_type = 0;
        DWORD size = 0;
        LONG result =
            ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &value_type, nullptr, &size);
        if (result != ERROR_SUCCESS) {
            return result;
        }
        std::vector<BYTE> bytes(size + 1u);
        DWORD read = size;
        result = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &value_type, bytes.data(),
                                    &read);
        if (result == ERROR_MORE_DATA) {
            continue;
        }
        if (result != ERROR_SUCCESS) {
            return result;
        }
        *type = value_type;
        data->assign(reinterpret_cast<const char*>(bytes.data()), read);
        return ERROR_SUCCESS;
    }
}

RegStatus Win32RegistryStore::DeleteValue(RegHandle key, const std::string& name) {
    return ::RegDeleteValueA(ToHkey(key), name.c_str());
}

RegStatus Win32RegistryStore::CountContents(RegHandle key, std::uint32_t* subkeys,
                                            std::uint32_t* values) {
    DWORD subkey_count = 0;
    DWORD value_count = 0;
    const LONG result =
        ::RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &subkey_count, nullptr, nullptr,
                           &value_count, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) {
        *subkeys = subkey_count;
        *values = value_count;
    }
    return result;
}

// RegDeleteKeyExA, which names the view, exists from Windows Vista on; before
// it, a 32-bit program's RegDeleteKeyA works in the 32-bit view anyway.
RegStatus Win32RegistryStore::DeleteKey(RegHandle root, const std::string& path) {
    using DeleteKeyEx = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
    const auto delete_key_ex =
        FindFunction<DeleteKeyEx>(::GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExA");
    if (delete_key_ex != nullptr) {
        return delete_key_ex(ToHkey(root), path.c_str(), KEY_WOW64_32KEY, 0);
    }
    return ::RegDeleteKeyA(ToHkey(root), path.c_str());
}

RegistryStore& DefaultRegistryStore() {
    static Win32RegistryStore store;
    return store;
}

}  // namespace qz

CRegistryKey::CRegistryKey() : CRegistryKey(qz::DefaultRegistryStore()) {}
