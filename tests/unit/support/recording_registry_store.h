// An in-memory registry store that records every call, for testing the
// registry key logic without a registry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "integration/registry_store.h"

namespace qz::test {

// Result codes the store returns besides success and "not found".
constexpr RegStatus kErrorAccessDenied = 5;
constexpr RegStatus kErrorInvalidHandle = 6;

struct StoredValue {
    std::uint32_t type = 0;
    std::string bytes;  // exactly the bytes given, terminating NUL included
};

enum class RegOp { kCreate, kOpen, kSet, kFlush, kClose, kQuery, kDelete, kCount, kDeleteKey };

struct RegCall {
    RegOp op = RegOp::kOpen;
    RegHandle key = 0;          // the root for kCreate and kOpen, else the handle
    std::string path;           // kCreate, kOpen
    std::uint32_t options = 0;  // kCreate
    std::uint32_t access = 0;   // kCreate, kOpen
    std::string name;           // kSet
    std::uint32_t type = 0;     // kSet
    std::string data;           // kSet
    RegStatus result = kErrorSuccess;
    RegHandle opened = 0;  // kCreate, kOpen: the handle given out on success
};

// Keys are told apart by root and exact path bytes (no case folding, no
// parent keys). The six predefined roots always exist. Handles are never
// reused, so a second close of one is seen.
class RecordingRegistryStore final : public RegistryStore {
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
    // A key's subkeys are the keys of the same root whose path continues it
    // after a backslash.
    RegStatus CountContents(RegHandle key, std::uint32_t* subkeys, std::uint32_t* values) override;
    RegStatus DeleteKey(RegHandle root, const std::string& path) override;

    // Set-up.
    void AddKey(RegHandle root, const std::string& path);
    // CreateKey and OpenKey below `root` fail with `code` from now on.
    void DenyRoot(RegHandle root, RegStatus code) { m_deniedRoots[root] = code; }
    // SetValue fails with `code` from now on (kErrorSuccess: works again).
    void FailSetValue(RegStatus code) { m_setValueFailure = code; }
    // DeleteValue fails with `code` from now on (kErrorSuccess: works again).
    void FailDeleteValue(RegStatus code) { m_deleteValueFailure = code; }
    // Stores a value directly.
    void PutValue(RegHandle root, const std::string& path, const std::string& name,
                  StoredValue value);

    // Inspection.
    bool HasKey(RegHandle root, const std::string& path) const;
    std::optional<StoredValue> Value(RegHandle root, const std::string& path,
                                     const std::string& name) const;
    const std::vector<RegCall>& Calls() const { return m_calls; }
    // The operations so far, e.g. "open set flush close"; a failed call is
    // marked "!" ("open!").
    std::string Trace() const;
    void ClearCalls() { m_calls.clear(); }
    // Handles given out and not yet closed.
    std::size_t OpenHandleCount() const { return m_open.size(); }
    // Calls that named a handle that was not open (closed twice, never opened).
    int BadHandleCalls() const { return m_badHandleCalls; }

  private:
    using KeyId = std::pair<RegHandle, std::string>;

    bool IsRoot(RegHandle root) const;
    RegStatus CheckRoot(RegHandle root) const;
    RegHandle Issue(const KeyId& key);
    const KeyId* Find(RegHandle handle);

    std::map<KeyId, std::map<std::string, StoredValue>> m_keys;
    std::map<RegHandle, KeyId> m_open;
    std::map<RegHandle, RegStatus> m_deniedRoots;
    RegStatus m_setValueFailure = kErrorSuccess;
    RegStatus m_deleteValueFailure = kErrorSuccess;
    RegHandle m_nextHandle = 0x1000;
    int m_badHandleCalls = 0;
    std::vector<RegCall> m_calls;
};

}  // namespace qz::test
