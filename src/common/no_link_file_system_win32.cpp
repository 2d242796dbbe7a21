#include "common/no_link_file_system_win32.h"

#include <utility>

#include "common/read_stream_win32.h"
#include "common/write_stream_win32.h"

namespace qz {

class HeldFolder {
  public:
    HeldFolder(std::string path, UniqueHandle handle)
        : m_path(std::move(path)), m_handle(std::move(handle)) {}
    // The folder's path, ending with a backslash.
    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
    UniqueHandle m_handle;
};

namespace {

using HeldFolders = std::vector<std::shared_ptr<HeldFolder>>;

// A folder is held for reading its list: an access that takes part in the
// sharing check (one for attributes alone does not), so that without
// FILE_SHARE_DELETE nobody can open it to rename or remove it.
constexpr NoLinkOpen kHoldFolder{FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS};

// Whether `path` ends with a backslash, read character by character: the
// trail byte of a double-byte character (GBK 乗 = 81 5C) is none.
bool EndsWithBackslash(const std::string& path, LeadByteTest isLead) {
    return !path.empty() && FindLastBackslash(path, isLead) == path.size() - 1;
}

// The name CreateFileA is given for a level: without its trailing backslash
// (a link's name read with one would be followed), but a drive root ("C:\")
// keeps it.
std::string LevelName(const std::string& path, LeadByteTest isLead) {
    const bool driveRoot = path.size() == 3 && path[1] == ':';
    if (!driveRoot && EndsWithBackslash(path, isLead)) {
        return path.substr(0, path.size() - 1);
    }
    return path;
}

// Opens one level as `how` says, never through a reparse point: the handle
// must not be one. The name is read as well once the handle holds the level:
// Wine opens through a folder link whatever the flags say and describes the
// folder behind it on the handle, yet reports its name as a reparse point; on
// Windows the handle is the named level itself, which cannot be renamed or
// removed while a handle without delete sharing holds it.
// *attributes: the handle's attributes.
UniqueHandle OpenLevel(const std::string& level, const NoLinkOpen& how, DWORD* attributes) {
    UniqueHandle handle(::CreateFileA(level.c_str(), how.access, how.share, nullptr,
                                      how.disposition, how.flags | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr));
    if (!handle) {
        return UniqueHandle();
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle.get(), &info)) {
        return UniqueHandle();
    }
    const DWORD named = ::GetFileAttributesA(level.c_str());
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
        (named != INVALID_FILE_ATTRIBUTES && (named & FILE_ATTRIBUTE_REPARSE_POINT) != 0)) {
        ::SetLastError(ERROR_CANT_RESOLVE_FILENAME);
        return UniqueHandle();
    }
    *attributes = info.dwFileAttributes;
    return handle;
}

// A file's stream with the folders above it held for as long as it lives.
// The members are destroyed in reverse order: the file first.
class HeldReadStream : public ReadStream {
  public:
    HeldReadStream(HeldFolders folders, UniqueHandle file)
        : m_folders(std::move(folders)), m_file(std::move(file)) {}
    std::int64_t Read(void* buf, std::size_t n) override { return m_file.Read(buf, n); }

  private:
    HeldFolders m_folders;
    Win32ReadStream m_file;
};

class HeldWriteStream : public WriteStream {
  public:
    HeldWriteStream(HeldFolders folders, UniqueHandle file)
        : m_folders(std::move(folders)), m_file(std::move(file)) {}
    bool Write(const void* buf, std::size_t n) override { return m_file.Write(buf, n); }
    bool Close() override { return m_file.Close(); }

  private:
    HeldFolders m_folders;
    Win32WriteStream m_file;
};

}  // namespace

NoLinkFileSystem::NoLinkFileSystem(std::string root, LeadByteTest isLead)
    : m_root(std::move(root)), m_isLead(isLead) {}

NoLinkFileSystem::~NoLinkFileSystem() = default;

bool NoLinkFileSystem::AtOrBelowRoot(const std::string& path) const {
    return path.compare(0, m_root.size(), m_root) == 0 || path == LevelName(m_root, m_isLead);
}

std::string NoLinkFileSystem::ParentOf(const std::string& path) const {
    const std::string level = LevelName(path, m_isLead);
    const std::size_t last = FindLastBackslash(level, m_isLead);
    return last == std::string::npos ? std::string() : level.substr(0, last + 1);
}

bool NoLinkFileSystem::HoldFolders(const std::string& folder) {
    std::size_t depth = 0;
    for (std::size_t end = m_root.size() - 1; end != std::string::npos;
         end = FindBackslash(folder, end + 1, m_isLead), ++depth) {
        const std::string level = folder.substr(0, end + 1);
        if (depth < m_held.size() && m_held[depth]->path() == level) {
            continue;
        }
        m_held.resize(depth);
        DWORD attributes = 0;
        UniqueHandle handle = OpenLevel(LevelName(level, m_isLead), kHoldFolder, &attributes);
        if (!handle) {
            return false;
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            ::SetLastError(ERROR_DIRECTORY);
            return false;
        }
        m_held.push_back(std::make_shared<HeldFolder>(level, std::move(handle)));
    }
    m_held.resize(depth);
    return true;
}

UniqueHandle NoLinkFileSystem::Open(const std::string& path, const NoLinkOpen& how) {
    if (!AtOrBelowRoot(path)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return UniqueHandle();
    }
    const std::string level = LevelName(path, m_isLead);
    if (level == LevelName(m_root, m_isLead)) {
        // The root has no held folder above it: the caller's choice.
        m_held.clear();
    } else if (!HoldFolders(ParentOf(path))) {
        return UniqueHandle();
    }
    DWORD attributes = 0;
    return OpenLevel(level, how, &attributes);
}

bool NoLinkFileSystem::CreateDirectory(const std::string& path) {
    if (!AtOrBelowRoot(path)) {
        return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
    }
    const std::string folder = EndsWithBackslash(path, m_isLead) ? path : path + '\\';
    if (folder != m_root && !HoldFolders(ParentOf(folder))) {
        return false;
    }
    const bool made = ::CreateDirectoryA(LevelName(folder, m_isLead).c_str(), nullptr) != FALSE;
    const DWORD error = ::GetLastError();
    if (!HoldFolders(folder)) {
        return false;
    }
    ::SetLastError(error);
    return made;
}

std::unique_ptr<ReadStream> NoLinkFileSystem::OpenRead(const std::string& path) {
    if (path.empty() || EndsWithBackslash(path, m_isLead) ||
        LevelName(path, m_isLead) == LevelName(m_root, m_isLead)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    UniqueHandle file = Open(path, {GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL});
    if (!file) {
        return nullptr;
    }
    return std::make_unique<HeldReadStream>(m_held, std::move(file));
}

std::unique_ptr<WriteStream> NoLinkFileSystem::CreateWrite(const std::string& path) {
    if (path.empty() || EndsWithBackslash(path, m_isLead) ||
        LevelName(path, m_isLead) == LevelName(m_root, m_isLead)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    UniqueHandle file = Open(path, {GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL});
    if (!file) {
        return nullptr;
    }
    return std::make_unique<HeldWriteStream>(m_held, std::move(file));
}

}  // namespace qz
