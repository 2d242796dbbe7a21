#include "support/memory_file_system.h"

#include <algorithm>
#include <cstring>

#include "common/dbcs.h"

namespace qz {

class MemoryFileSystem::Reader : public ReadStream {
  public:
    Reader(MemoryFileSystem& fs, std::string key) : m_fs(fs), m_key(std::move(key)) {}
    ~Reader() override { m_fs.m_open.erase(m_key); }

    std::int64_t Read(void* buf, std::size_t n) override {
        const std::string& data = m_fs.m_files[m_key];
        std::size_t end = data.size();
        const auto fault = m_fs.m_failRead.find(m_key);
        if (fault != m_fs.m_failRead.end()) {
            const auto at = static_cast<std::size_t>(std::max<std::int64_t>(fault->second, 0));
            if (m_position >= at) {
                return -1;
            }
            end = std::min(end, at);
        }
        std::size_t count = std::min(n, end - std::min(end, m_position));
        if (m_fs.m_readLimit != 0) {
            count = std::min(count, m_fs.m_readLimit);
        }
        if (count != 0) {
            std::memcpy(buf, data.data() + m_position, count);
        }
        m_position += count;
        return static_cast<std::int64_t>(count);
    }

  private:
    MemoryFileSystem& m_fs;
    std::string m_key;
    std::size_t m_position = 0;
};

class MemoryFileSystem::Writer : public WriteStream {
  public:
    Writer(MemoryFileSystem& fs, std::string key) : m_fs(fs), m_key(std::move(key)) {}
    ~Writer() override { Close(); }

    bool Write(const void* buf, std::size_t n) override {
        if (m_closed) {
            return false;
        }
        ++m_fs.m_writeCalls;
        if (m_fs.m_writeCalls == m_fs.m_failWriteCall) {
            return false;
        }
        std::size_t count = n;
        if (m_fs.m_capacity >= 0) {
            const std::int64_t room =
                std::max<std::int64_t>(m_fs.m_capacity - m_fs.StoredBytes(), 0);
            count = static_cast<std::size_t>(
                std::min<std::int64_t>(room, static_cast<std::int64_t>(n)));
        }
        m_fs.m_files[m_key].append(static_cast<const char*>(buf), count);
        return count == n;
    }

    bool Close() override {
        if (m_closed) {
            return true;
        }
        m_closed = true;
        m_fs.m_open.erase(m_key);
        return m_fs.m_failClose.count(m_key) == 0;
    }

  private:
    MemoryFileSystem& m_fs;
    std::string m_key;
    bool m_closed = false;
};

MemoryFileSystem::MemoryFileSystem() = default;
MemoryFileSystem::~MemoryFileSystem() = default;

std::string MemoryFileSystem::Key(const std::string& path) {
    if (!path.empty() && FindLastBackslash(path) == path.size() - 1) {
        return path.substr(0, path.size() - 1);
    }
    return path;
}

bool MemoryFileSystem::DirectoryExists(const std::string& key) const {
    const bool drive_root = key.size() == 2 && key[1] == ':';
    return key.empty() || drive_root || m_directories.count(key) != 0;
}

bool MemoryFileSystem::ParentExists(const std::string& key) const {
    const std::size_t p = FindLastBackslash(key);
    return DirectoryExists(p == std::string::npos ? std::string() : key.substr(0, p));
}

std::int64_t MemoryFileSystem::StoredBytes() const {
    std::int64_t total = 0;
    for (const auto& file : m_files) {
        total += static_cast<std::int64_t>(file.second.size());
    }
    return total;
}

bool MemoryFileSystem::CreateDirectory(const std::string& path) {
    m_directoryRequests.push_back(path);
    m_touched = true;
    const std::string key = Key(path);
    if (m_failOpen.count(path) != 0 || m_failOpen.count(key) != 0) {
        return false;
    }
    if (DirectoryExists(key) || m_files.count(key) != 0 || !ParentExists(key)) {
        return false;
    }
    m_directories.insert(key);
    return true;
}

std::unique_ptr<ReadStream> MemoryFileSystem::OpenRead(const std::string& path) {
    const std::string key = Key(path);
    if (m_failOpen.count(path) != 0 || m_files.count(key) == 0 || m_open.count(key) != 0) {
        return nullptr;
    }
    m_open.insert(key);
    return std::make_unique<Reader>(*this, key);
}

std::unique_ptr<WriteStream> MemoryFileSystem::CreateWrite(const std::string& path) {
    m_touched = true;
    const std::string key = Key(path);
    if (m_failOpen.count(path) != 0 || key.empty() || DirectoryExists(key) || !ParentExists(key) ||
        m_open.count(key) != 0 || key.size() != path.size()) {
        return nullptr;
    }
    m_files[key].clear();
    m_open.insert(key);
    return std::make_unique<Writer>(*this, key);
}

Removal MemoryFileSystem::WalkTo(const std::string& root, const std::string& name,
                                 std::string* key) const {
    const std::string path = name.empty() ? root : root + name;
    *key = Key(path);
    std::vector<std::string> levels{Key(root)};
    for (std::size_t p = FindBackslash(path, root.size()); p != std::string::npos;
         p = FindBackslash(path, p + 1)) {
        if (p + 1 < path.size()) {
            levels.push_back(path.substr(0, p));
        }
    }
    if (name.empty()) {
        levels.clear();
    }
    for (const std::string& level : levels) {
        if (m_links.count(level) != 0) {
            return Removal::kLink;
        }
        if (!DirectoryExists(level)) {
            return Removal::kMissing;
        }
    }
    return m_links.count(*key) != 0 ? Removal::kLink : Removal::kRemoved;
}

Removal MemoryFileSystem::RemoveFile(const std::string& root, const std::string& name) {
    m_touched = true;
    std::string key;
    const Removal walk = WalkTo(root, name, &key);
    if (walk != Removal::kRemoved) {
        return walk;
    }
    if (DirectoryExists(key)) {
        return Removal::kWrongKind;
    }
    if (m_files.count(key) == 0) {
        return Removal::kMissing;
    }
    if (m_open.count(key) != 0 || m_held.count(key) != 0) {
        return Removal::kInUse;
    }
    if (m_failRemove.count(key) != 0) {
        return Removal::kFailed;
    }
    m_files.erase(key);
    m_removed.push_back(key);
    return Removal::kRemoved;
}

Removal MemoryFileSystem::RemoveFolder(const std::string& root, const std::string& name) {
    m_touched = true;
    std::string key;
    const Removal walk = WalkTo(root, name, &key);
    if (walk != Removal::kRemoved) {
        return walk;
    }
    if (m_files.count(key) != 0) {
        return Removal::kWrongKind;
    }
    if (m_directories.count(key) == 0) {
        return DirectoryExists(key) ? Removal::kFailed : Removal::kMissing;
    }
    const std::string below = key + "\\";
    const auto holds = [&below](const auto& items) {
        const auto next = items.lower_bound(below);
        return next != items.end() && next->first.compare(0, below.size(), below) == 0;
    };
    const auto next_folder = m_directories.lower_bound(below);
    if (holds(m_files) ||
        (next_folder != m_directories.end() && next_folder->compare(0, below.size(), below) == 0)) {
        return Removal::kNotEmpty;
    }
    if (m_failRemove.count(key) != 0) {
        return Removal::kFailed;
    }
    m_directories.erase(key);
    m_removed.push_back(key);
    return Removal::kRemoved;
}

bool MemoryFileSystem::MarkForRestart(const std::string& root, const std::string& name) {
    const std::string key = Key(root + name);
    if (m_failMark.count(key) != 0) {
        return false;
    }
    m_marked.push_back(key);
    return true;
}

ItemKind MemoryFileSystem::Inspect(const std::string& root, const std::string& name) {
    std::string key;
    const Removal walk = WalkTo(root, name, &key);
    if (walk == Removal::kLink) {
        return ItemKind::kLink;
    }
    if (walk == Removal::kMissing) {
        return ItemKind::kMissing;
    }
    if (m_files.count(key) != 0) {
        return ItemKind::kFile;
    }
    return DirectoryExists(key) ? ItemKind::kFolder : ItemKind::kMissing;
}

void MemoryFileSystem::AddLink(const std::string& path) {
    AddDirectory(path);
    m_links.insert(Key(path));
}

void MemoryFileSystem::AddDirectory(const std::string& path) {
    const std::string key = Key(path);
    for (std::size_t p = FindBackslash(key, 0); p != std::string::npos;
         p = FindBackslash(key, p + 1)) {
        if (!DirectoryExists(key.substr(0, p))) {
            m_directories.insert(key.substr(0, p));
        }
    }
    if (!DirectoryExists(key)) {
        m_directories.insert(key);
    }
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& contents) {
    const std::string key = Key(path);
    const std::size_t p = FindLastBackslash(key);
    if (p != std::string::npos) {
        AddDirectory(key.substr(0, p));
    }
    m_files[key] = contents;
}

bool MemoryFileSystem::HasFile(const std::string& path) const {
    return m_files.count(path) != 0;
}

bool MemoryFileSystem::HasDirectory(const std::string& path) const {
    return DirectoryExists(Key(path));
}

std::string MemoryFileSystem::FileContents(const std::string& path) const {
    const auto it = m_files.find(path);
    return it == m_files.end() ? std::string() : it->second;
}

}  // namespace qz
