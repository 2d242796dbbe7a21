#include "integration/registry_key.h"

#include <cstring>
#include <utility>

#include "common/constants.h"

namespace {

// An open key of a store, closed through the store exactly once.
class OpenedKey {
  public:
    explicit OpenedKey(qz::RegistryStore& store) : m_store(&store) {}
    ~OpenedKey() { Close(); }
    OpenedKey(OpenedKey&& other) noexcept
        : m_store(other.m_store),
          m_handle(other.m_handle),
          m_open(std::exchange(other.m_open, false)) {}
    OpenedKey& operator=(OpenedKey&&) = delete;
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    // The slot for an opening call; call Adopt() when the call succeeded.
    qz::RegHandle* Slot() { return &m_handle; }
    void Adopt() { m_open = true; }
    qz::RegHandle Get() const { return m_handle; }

    void Close() {
        if (m_open) {
            m_open = false;
            m_store->CloseKey(m_handle);
        }
    }

  private:
    qz::RegistryStore* m_store;
    qz::RegHandle m_handle = 0;
    bool m_open = false;
};

}  // namespace

CRegistryKey::CRegistryKey(qz::RegistryStore& store) : m_store(store) {}

CRegistryKey::~CRegistryKey() {
    Reset();
}

void CRegistryKey::Reset() {
    m_strKeyPath.clear();
    m_hRoot = qz::kHkeyCurrentUser;
    m_bNoFlush = 1;
}

bool CRegistryKey::SelectRoot(qz::RegHandle root) {
    switch (root) {
        case qz::kHkeyClassesRoot:
        case qz::kHkeyCurrentUser:
        case qz::kHkeyLocalMachine:
        case qz::kHkeyUsers:
            m_hRoot = root;
            return true;
        default:
            return false;
    }
}

bool CRegistryKey::OpenPath(const std::string& path, bool create) {
    if (path.empty()) {
        m_strKeyPath.clear();
        return true;
    }
    OpenedKey key(m_store);
    if (create) {
        // Whether the key was new or already there does not matter.
        if (m_store.CreateKey(m_hRoot, path, qz::kRegOptionNonVolatile, qz::kKeyAllAccess,
                              key.Slot()) != qz::kErrorSuccess) {
            return false;
        }
    } else {
        m_nError = m_store.OpenKey(m_hRoot, path, qz::kKeyAllAccess, key.Slot());
        if (m_nError != qz::kErrorSuccess) {
            return false;
        }
    }
    key.Adopt();
    m_strKeyPath = path;
    FlushIfWanted(key.Get());
    return true;
}

bool CRegistryKey::PutString(const std::string& name, const std::string& value) {
    if (value.size() > qz::kRegistryValueLimit) {
        return false;
    }
    // The key is opened again by its path on every call, so a key that OpenPath
    // created is found again; an empty path opens the root itself.
    OpenedKey key(m_store);
    if (m_store.OpenKey(m_hRoot, m_strKeyPath, qz::kKeyWrite, key.Slot()) != qz::kErrorSuccess) {
        return false;
    }
    key.Adopt();
    // The stored data always ends with one NUL: an empty value is that byte alone.
    const auto size = static_cast<std::uint32_t>(std::strlen(value.c_str()) + 1);
    const bool stored =
        m_store.SetValue(key.Get(), name, qz::kRegSz, value.c_str(), size) == qz::kErrorSuccess;
    FlushIfWanted(key.Get());
    return stored;
}

bool CRegistryKey::GetString(const std::string& name, std::string* value) {
    OpenedKey key(m_store);
    if (m_store.OpenKey(m_hRoot, m_strKeyPath, qz::kKeyRead, key.Slot()) != qz::kErrorSuccess) {
        return false;
    }
    key.Adopt();
    std::uint32_t type = 0;
    std::string data;
    if (m_store.QueryValue(key.Get(), name, &type, &data) != qz::kErrorSuccess ||
        type != qz::kRegSz) {
        return false;
    }
    // A string stored without its NUL reads the same as one stored with it.
    if (!data.empty() && data.back() == '\0') {
        data.pop_back();
    }
    *value = std::move(data);
    return true;
}

bool CRegistryKey::DeleteValue(const std::string& name) {
    OpenedKey key(m_store);
    if (m_store.OpenKey(m_hRoot, m_strKeyPath, qz::kKeyAllAccess, key.Slot()) !=
        qz::kErrorSuccess) {
        return false;
    }
    key.Adopt();
    const bool deleted = m_store.DeleteValue(key.Get(), name) == qz::kErrorSuccess;
    FlushIfWanted(key.Get());
    return deleted;
}

bool CRegistryKey::DeletePathIfEmpty(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    {
        OpenedKey key(m_store);
        if (m_store.OpenKey(m_hRoot, path, qz::kKeyRead, key.Slot()) != qz::kErrorSuccess) {
            return false;
        }
        key.Adopt();
        std::uint32_t subkeys = 0;
        std::uint32_t values = 0;
        if (m_store.CountContents(key.Get(), &subkeys, &values) != qz::kErrorSuccess ||
            subkeys != 0 || values != 0) {
            return false;
        }
    }
    if (m_store.DeleteKey(m_hRoot, path) != qz::kErrorSuccess) {
        return false;
    }
    if (m_strKeyPath == path) {
        m_strKeyPath.clear();
    }
    return true;
}

void CRegistryKey::FlushIfWanted(qz::RegHandle key) {
    if (m_bNoFlush == 0) {
        m_store.FlushKey(key);
    }
}
