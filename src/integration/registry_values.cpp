#include "integration/registry_values.h"

namespace qz {

RegStatus SetStringValue(RegistryStore& store, RegHandle key, const std::string& name,
                         const std::string& value) {
    if (value.size() + 1 > kRegistryDataLimit) {
        return kErrorInvalidParameter;
    }
    // c_str() carries the NUL that REG_SZ data ends with.
    return store.SetValue(key, name, kRegSz, value.c_str(),
                          static_cast<std::uint32_t>(value.size() + 1));
}

RegStatus SetDwordValue(RegistryStore& store, RegHandle key, const std::string& name,
                        std::uint32_t value) {
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return store.SetValue(key, name, kRegDword, bytes, sizeof(bytes));
}

}  // namespace qz
