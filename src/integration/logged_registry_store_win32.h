// LoggedRegistryStore: a registry store that hands every call on to another
// and writes to a RunLog each value written (key, name and value), each value
// and key removed, and each that failed, with the registry's error code.
// Windows only.
#pragma once

#include "common/run_log_win32.h"

#include <map>
#include <string>

#include "integration/registry_store.h"

namespace qz {

class LoggedRegistryStore final : public RegistryStore {
  public:
    // `inner` and `log` must outlive this object.
    LoggedRegistryStore(RegistryStore& inner, RunLog& log) : m_inner(inner), m_log(log) {}

    RegStatus CreateKey(RegHandle root, const std::string& path, std::uint32_t options,
                        std::uint32_t access, RegHandle* handle) override;
    RegStatus OpenKey(RegHandle root, const std::string& path, std::uint32_t access,
                      RegHandle* handle) override;
    RegStatus SetValue(RegHandle key, const std::string& name, std::uint32_t type, const void* data,
                       std::uint32_t size) override;
    RegStatus FlushKey(RegHandle key) override { return m_inner.FlushKey(key); }
    RegStatus CloseKey(RegHandle key) override;
    RegStatus QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                         std::string* data) override {
        return m_inner.QueryValue(key, name, type, data);
    }
    RegStatus DeleteValue(RegHandle key, const std::string& name) override;
    RegStatus CountContents(RegHandle key, std::uint32_t* subkeys, std::uint32_t* values) override {
        return m_inner.CountContents(key, subkeys, values);
    }
    RegStatus DeleteKey(RegHandle root, const std::string& path) override;

  private:
    // Remembers the name of a key just opened, for the values written below it.
    RegStatus Opened(RegStatus result, RegHandle root, const std::string& path, RegHandle* handle);
    // "HKEY_...\path" for `path` below `root` (a predefined root or a key open here).
    std::string NameOf(RegHandle root, const std::string& path);
    // Logs the removal of `name` as `removed`, or its failure as `failed`.
    RegStatus Removed(RegStatus result, const std::string& name, const char* removed,
                      const char* failed);

    RegistryStore& m_inner;
    RunLog& m_log;
    std::map<RegHandle, std::string> m_names;  // open handle -> "HKLM\path"
};

}  // namespace qz
