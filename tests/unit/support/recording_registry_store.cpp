#include "support/recording_registry_store.h"

namespace qz::test {
namespace {

RegCall MakeCall(RegOp op, RegHandle key, const std::string& path = {}, std::uint32_t access = 0) {
    RegCall call;
    call.op = op;
    call.key = key;
    call.path = path;
    call.access = access;
    return call;
}

const char* const kOpNames[] = {"create", "open",   "set",   "flush",    "close",
                                "query",  "delete", "count", "deletekey"};

}  // namespace

RegStatus RecordingRegistryStore::CreateKey(RegHandle root, const std::string& path,
                                            std::uint32_t options, std::uint32_t access,
                                            RegHandle* handle) {
    RegCall call = MakeCall(RegOp::kCreate, root, path, access);
    call.options = options;
    call.result = CheckRoot(root);
    if (call.result == kErrorSuccess) {
        AddKey(root, path);
        call.opened = *handle = Issue({root, path});
    }
    m_calls.push_back(call);
    return call.result;
}

RegStatus RecordingRegistryStore::OpenKey(RegHandle root, const std::string& path,
                                          std::uint32_t access, RegHandle* handle) {
    RegCall call = MakeCall(RegOp::kOpen, root, path, access);
    call.result = CheckRoot(root);
    if (call.result == kErrorSuccess && !HasKey(root, path)) {
        call.result = kErrorFileNotFound;
    }
    if (call.result == kErrorSuccess) {
        call.opened = *handle = Issue({root, path});
    }
    m_calls.push_back(call);
    return call.result;
}

RegStatus RecordingRegistryStore::SetValue(RegHandle key, const std::string& name,
                                           std::uint32_t type, const void* data,
                                           std::uint32_t size) {
    RegCall call = MakeCall(RegOp::kSet, key);
    call.name = name;
    call.type = type;
    call.data.assign(static_cast<const char*>(data), size);
    const KeyId* opened = Find(key);
    call.result = opened == nullptr ? kErrorInvalidHandle : m_setValueFailure;
    if (call.result == kErrorSuccess) {
        m_keys[*opened][name] = StoredValue{type, call.data};
    }
    m_calls.push_back(call);
    return call.result;
}

RegStatus RecordingRegistryStore::FlushKey(RegHandle key) {
    RegCall call = MakeCall(RegOp::kFlush, key);
    call.result = Find(key) != nullptr ? kErrorSuccess : kErrorInvalidHandle;
    m_calls.push_back(call);
    return call.result;
}

RegStatus RecordingRegistryStore::CloseKey(RegHandle key) {
    RegCall call = MakeCall(RegOp::kClose, key);
    call.result = Find(key) != nullptr ? kErrorSuccess : kErrorInvalidHandle;
    m_open.erase(key);
    m_calls.push_back(call);
    return call.result;
}

RegStatus RecordingRegistryStore::QueryValue(RegHandle key, const std::string& name,
                                             std::uint32_t* type, std::string* data) {
    RegCall call = MakeCall(RegOp::kQuery, key);
    call.name = name;
    const KeyId* opened = Find(key);
    call.result = opened == nullptr ? kErrorInvalidHandle : kErrorFileNotFound;
    if (opened != nullptr) {
        const auto& values = m_keys[*opened];
        const auto value = values.find(name);
        if (value != values.end()) {
            *type = value->second.type;
            *data = value->second.bytes;
            call.result = kErrorSuccess;
        }
    }
    m_calls.push_back(call);
    return call.result;
}

RegStatus RecordingRegistryStore::DeleteValue(RegHandle key, const std::string& name) {
    RegCall call = MakeCall(RegOp::kDelete, key);
    call.name = name;
    const KeyId* opened = Find(key);
    call.result = opened == nullptr ? kErrorInvalidHandle : m_deleteValueFailure;
    if (call.result == kErrorSuccess) {
        call.result = m_keys[*opened].erase(name) != 0 ? kErrorSuccess : kErrorFileNotFound;
    }
    m_calls.push_back(call);
    return call.result;
}

RegStatus RecordingRegistryStore::CountContents(RegHandle key, std::uint32_t* subkeys,
                                                std::uint32_t* values) {
    RegCall call = MakeCall(RegOp::kCount, key);
    const KeyId* opened = Find(key);
    call.result = opened == nullptr ? kErrorInvalidHandle : kErrorSuccess;
    if (opened != nullptr) {
        const KeyId id = *opened;
        std::uint32_t below = 0;
        for (const auto& other : m_keys) {
            if (other.first.first == id.first && other.first.second.size() > id.second.size() &&
                other.first.second.compare(0, id.second.size(), id.second) == 0 &&
                other.first.second[id.second.size()] == '\\') {
                ++below;
            }
        }
        *subkeys = below;
        *values = static_cast<std::uint32_t>(m_keys[id].size());
    }
    m_calls.push_back(call);
    return call.result;
}

RegStatus RecordingRegistryStore::DeleteKey(RegHandle root, const std::string& path) {
    RegCall call = MakeCall(RegOp::kDeleteKey, root, path);
    call.result = CheckRoot(root);
    if (call.result == kErrorSuccess) {
        call.result = m_keys.erase({root, path}) != 0 ? kErrorSuccess : kErrorFileNotFound;
    }
    m_calls.push_back(call);
    return call.result;
}

void RecordingRegistryStore::PutValue(RegHandle root, const std::string& path,
                                      const std::string& name, StoredValue value) {
    m_keys[{root, path}][name] = std::move(value);
}

void RecordingRegistryStore::AddKey(RegHandle root, const std::string& path) {
    m_keys[{root, path}];
}

bool RecordingRegistryStore::HasKey(RegHandle root, const std::string& path) const {
    return (path.empty() && IsRoot(root)) || m_keys.count({root, path}) != 0;
}

std::optional<StoredValue> RecordingRegistryStore::Value(RegHandle root, const std::string& path,
                                                         const std::string& name) const {
    const auto key = m_keys.find({root, path});
    if (key == m_keys.end()) {
        return std::nullopt;
    }
    const auto value = key->second.find(name);
    if (value == key->second.end()) {
        return std::nullopt;
    }
    return value->second;
}

std::string RecordingRegistryStore::Trace() const {
    std::string trace;
    for (const RegCall& call : m_calls) {
        if (!trace.empty()) {
            trace += ' ';
        }
        trace += kOpNames[static_cast<int>(call.op)];
        if (call.result != kErrorSuccess) {
            trace += '!';
        }
    }
    return trace;
}

bool RecordingRegistryStore::IsRoot(RegHandle root) const {
    return root >= kHkeyClassesRoot && root <= kHkeyCurrentConfig;
}

RegStatus RecordingRegistryStore::CheckRoot(RegHandle root) const {
    if (!IsRoot(root)) {
        return kErrorInvalidHandle;
    }
    const auto denied = m_deniedRoots.find(root);
    return denied != m_deniedRoots.end() ? denied->second : kErrorSuccess;
}

RegHandle RecordingRegistryStore::Issue(const KeyId& key) {
    const RegHandle handle = m_nextHandle++;
    m_open[handle] = key;
    return handle;
}

const RecordingRegistryStore::KeyId* RecordingRegistryStore::Find(RegHandle handle) {
    const auto open = m_open.find(handle);
    if (open == m_open.end()) {
        ++m_badHandleCalls;
        return nullptr;
    }
    return &open->second;
}

}  // namespace qz::test
