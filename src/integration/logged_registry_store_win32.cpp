#include "integration/logged_registry_store_win32.h"

#include "common/texts.h"

namespace qz {
namespace {

std::string RootName(RegHandle root) {
    switch (root) {
        case kHkeyClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case kHkeyCurrentUser:
            return "HKEY_CURRENT_USER";
        case kHkeyLocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case kHkeyUsers:
            return "HKEY_USERS";
        default:
            return std::string();
    }
}

// The value as a person reads it: a string without its NUL, a number in
// decimal.
std::string Shown(std::uint32_t type, const void* data, std::uint32_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (type == kRegDword && size == 4) {
        const unsigned long value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                    (static_cast<unsigned long>(bytes[3]) << 24);
        return std::to_string(value);
    }
    std::string text(reinterpret_cast<const char*>(bytes), size);
    if (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

}  // namespace

std::string LoggedRegistryStore::NameOf(RegHandle root, const std::string& path) {
    const auto open = m_names.find(root);
    const std::string parent = open != m_names.end() ? open->second : RootName(root);
    return path.empty() ? parent : parent + "\\" + path;
}

RegStatus LoggedRegistryStore::Opened(RegStatus result, RegHandle root, const std::string& path,
                                      RegHandle* handle) {
    const std::string name = NameOf(root, path);
    if (result == kErrorSuccess) {
        m_names[*handle] = name;
    } else {
        m_log.Failure(kRunLogKeyFailed, name, static_cast<std::uint32_t>(result));
    }
    return result;
}

RegStatus LoggedRegistryStore::CreateKey(RegHandle root, const std::string& path,
                                         std::uint32_t options, std::uint32_t access,
                                         RegHandle* handle) {
    return Opened(m_inner.CreateKey(root, path, options, access, handle), root, path, handle);
}

RegStatus LoggedRegistryStore::OpenKey(RegHandle root, const std::string& path,
                                       std::uint32_t access, RegHandle* handle) {
    return Opened(m_inner.OpenKey(root, path, access, handle), root, path, handle);
}

RegStatus LoggedRegistryStore::SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                                        const void* data, std::uint32_t size) {
    const RegStatus result = m_inner.SetValue(key, name, type, data, size);
    const std::string value = NameOf(key, name);
    if (result == kErrorSuccess) {
        m_log.Event(kRunLogValueWritten, value + " = " + Shown(type, data, size));
    } else {
        m_log.Failure(kRunLogValueFailed, value, static_cast<std::uint32_t>(result));
    }
    return result;
}

RegStatus LoggedRegistryStore::DeleteValue(RegHandle key, const std::string& name) {
    return Removed(m_inner.DeleteValue(key, name), NameOf(key, name), kRunLogValueRemoved,
                   kRunLogValueNotRemoved);
}

RegStatus LoggedRegistryStore::DeleteKey(RegHandle root, const std::string& path) {
    return Removed(m_inner.DeleteKey(root, path), NameOf(root, path), kRunLogKeyRemoved,
                   kRunLogKeyNotRemoved);
}

RegStatus LoggedRegistryStore::Removed(RegStatus result, const std::string& name,
                                       const char* removed, const char* failed) {
    // What was not there is no event.
    if (result == kErrorSuccess) {
        m_log.Event(removed, name);
    } else if (result != kErrorFileNotFound) {
        m_log.Failure(failed, name, static_cast<std::uint32_t>(result));
    }
    return result;
}

RegStatus LoggedRegistryStore::CloseKey(RegHandle key) {
    m_names.erase(key);
    return m_inner.CloseKey(key);
}

}  // namespace qz
