// CRegistryKey: remembers a root key and the path of a current key below it,
// and writes, reads and deletes string values under that key. No key handle outlives one call:
// each operation opens the key it needs, acts on it and closes it again.
// Every failure is reported only by a false result.
#pragma once

#include <cstdint>
#include <string>

#include "integration/registry_store.h"

class CRegistryKey {
  public:
#ifdef _WIN32
    // Works on the process's registry (DefaultRegistryStore()).
    CRegistryKey();
#endif
    // Works on `store`, which must outlive the object.
    explicit CRegistryKey(qz::RegistryStore& store);
    // Performs Reset. There is no open handle to close.
    ~CRegistryKey();
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // Clears the current key and sets the root back to HKEY_CURRENT_USER and
    // m_bNoFlush back to 1. m_nError is kept.
    void Reset();

    // Accepts exactly the four roots kHkeyClassesRoot, kHkeyCurrentUser,
    // kHkeyLocalMachine and kHkeyUsers (named by their 32-bit values, not by a
    // platform's HKEY). Returns true and makes `root` the root, or false and
    // leaves the root unchanged.
    bool SelectRoot(qz::RegHandle root);

    // Makes `path` (below the root, no leading backslash) the current key.
    // An empty path clears the current key and returns true without touching
    // the store. With `create` the key is created if missing (non-volatile,
    // full access); a failure then changes nothing. Without `create` the key
    // must exist, and the result of opening it is kept in m_nError. Returns
    // true on success; a failure leaves the current key as it was.
    bool OpenPath(const std::string& path, bool create);

    // Writes `value` as a REG_SZ value `name` under the current key (the root
    // itself when there is none), with its terminating NUL. A value longer
    // than kRegistryValueLimit bytes is refused before any store call. Returns
    // true when the value was stored; m_nError is never changed.
    bool PutString(const std::string& name, const std::string& value);

    // Reads the REG_SZ value `name` under the current key (the root itself
    // when there is none) into *value, without its terminating NUL. Returns
    // false, leaving *value alone, when there is no such value, it has another
    // type or it cannot be read; m_nError is never changed.
    bool GetString(const std::string& name, std::string* value);

    // Deletes the value `name` under the current key (the root itself when
    // there is none). Returns true when it was deleted; m_nError is never
    // changed.
    bool DeleteValue(const std::string& name);

    // Deletes the key `path` below the root when it holds no value and no
    // subkey. Returns true when it was deleted; false when it is missing,
    // holds something or the store refused. An empty path is refused. The
    // current key is cleared when it was that key; m_nError is never changed.
    bool DeletePathIfEmpty(const std::string& path);

    // Result code of the last OpenPath that opened without creating.
    std::int32_t m_nError = qz::kErrorSuccess;
    // Root under which every path is taken.
    qz::RegHandle m_hRoot = qz::kHkeyCurrentUser;
    // While 0, every key opened by OpenPath or PutString is flushed before it
    // is closed; otherwise it is only closed.
    int m_bNoFlush = 1;
    // Path of the current key below m_hRoot; empty: no current key.
    std::string m_strKeyPath;

  private:
    // Flushes `key` when m_bNoFlush is 0; the caller's owner then closes it.
    void FlushIfWanted(qz::RegHandle key);

    qz::RegistryStore& m_store;
};
