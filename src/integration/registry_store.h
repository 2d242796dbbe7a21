// The registry operations that CRegistryKey needs (five to write the record,
// four more to read and remove it), behind an interface so that the key logic
// builds everywhere: the Win32 store calls ADVAPI32, tests use an in-memory
// store.
#pragma once

#include <cstdint>
#include <string>

namespace qz {

// An opaque key handle of a store. The predefined roots are named by their
// 32-bit values below, on every platform; a store maps them to its own keys
// (on 64-bit Windows the real root handles are these values sign-extended).
using RegHandle = std::uintptr_t;
// A registry result code: kErrorSuccess or a nonzero platform error code.
using RegStatus = std::int32_t;

constexpr RegHandle kHkeyClassesRoot = 0x80000000u;
constexpr RegHandle kHkeyCurrentUser = 0x80000001u;
constexpr RegHandle kHkeyLocalMachine = 0x80000002u;
constexpr RegHandle kHkeyUsers = 0x80000003u;
constexpr RegHandle kHkeyPerformanceData = 0x80000004u;
constexpr RegHandle kHkeyCurrentConfig = 0x80000005u;

// Access masks.
constexpr std::uint32_t kKeyAllAccess = 0xF003Fu;
constexpr std::uint32_t kKeyWrite = 0x20006u;
constexpr std::uint32_t kKeyRead = 0x20019u;
// Key creation options.
constexpr std::uint32_t kRegOptionNonVolatile = 0;
// Value types.
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegDword = 4;
// Result codes.
constexpr RegStatus kErrorSuccess = 0;
constexpr RegStatus kErrorFileNotFound = 2;
constexpr RegStatus kErrorInvalidParameter = 87;

class RegistryStore {
  public:
    virtual ~RegistryStore() = default;

    // Opens `path` below `root`, creating every missing level. Returns
    // kErrorSuccess and stores an open handle in *handle, or a nonzero code and
    // leaves *handle alone.
    virtual RegStatus CreateKey(RegHandle root, const std::string& path, std::uint32_t options,
                                std::uint32_t access, RegHandle* handle) = 0;
    // Opens the existing key `path` below `root` (an empty path opens `root`
    // itself). Returns kErrorSuccess and a handle in *handle, or a nonzero code
    // (kErrorFileNotFound for a missing key) and leaves *handle alone.
    virtual RegStatus OpenKey(RegHandle root, const std::string& path, std::uint32_t access,
                              RegHandle* handle) = 0;
    // Stores `size` bytes at `data` as the value `name` of type `type` under the
    // open key, replacing any value of that name. Returns kErrorSuccess or a code.
    virtual RegStatus SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                               const void* data, std::uint32_t size) = 0;
    // Writes the key's changes to permanent storage. Returns a result code.
    virtual RegStatus FlushKey(RegHandle key) = 0;
    // Closes a handle from CreateKey or OpenKey. Returns a result code.
    virtual RegStatus CloseKey(RegHandle key) = 0;

    // Reads the value `name` of the open key: its type into *type and its
    // bytes, as stored, into *data. Returns kErrorSuccess, or a code
    // (kErrorFileNotFound when there is no such value) and leaves both alone.
    virtual RegStatus QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                                 std::string* data) = 0;
    // Deletes the value `name` of the open key. Returns a result code.
    virtual RegStatus DeleteValue(RegHandle key, const std::string& name) = 0;
    // Counts the subkeys and the values of the open key into *subkeys and
    // *values. Returns a result code.
    virtual RegStatus CountContents(RegHandle key, std::uint32_t* subkeys,
                                    std::uint32_t* values) = 0;
    // Deletes the key `path` below `root` (not empty), which must have no
    // subkeys. Returns a result code.
    virtual RegStatus DeleteKey(RegHandle root, const std::string& path) = 0;
};

}  // namespace qz
