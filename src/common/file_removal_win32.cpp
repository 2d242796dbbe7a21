#include <windows.h>

#include "common/file_removal_win32.h"

#include <utility>

#include "common/unique_handle_win32.h"

namespace qz {

struct Win32FileRemoval::Level {
    std::string path;
    UniqueHandle handle;
};

namespace {

constexpr DWORD kOpenItself = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;

bool IsMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME || error == ERROR_DIRECTORY;
}

// The attributes of an open handle; INVALID_FILE_ATTRIBUTES when unknown.
DWORD AttributesOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info = {};
    return ::GetFileInformationByHandle(handle, &info) ? info.dwFileAttributes
                                                       : INVALID_FILE_ATTRIBUTES;
}

// The attributes of what is open on `handle` at `path`, with the reparse bit
// of the path's own attributes added: Wine opens a Unix symbolic link to a
// folder as the folder it points at, even with FILE_FLAG_OPEN_REPARSE_POINT,
// and shows the link only in the attributes of its path. The path is looked
// at while the handle is held, so a level checked here cannot be renamed
// before the item below it is removed.
DWORD CheckedAttributes(HANDLE handle, const std::string& path) {
    DWORD attributes = AttributesOf(handle);
    const DWORD by_path = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && by_path != INVALID_FILE_ATTRIBUTES) {
        attributes |= by_path & FILE_ATTRIBUTE_REPARSE_POINT;
    }
    return attributes;
}

// A level as a path the system opens: "C:\" keeps its backslash, "C:\Q\" loses it.
std::string LevelPath(const std::string& path) {
    if (path.size() > 3 && path.back() == '\\') {
        return path.substr(0, path.size() - 1);
    }
    return path;
}

}  // namespace

Win32FileRemoval::Win32FileRemoval(LeadByteTest is_lead) : m_isLead(is_lead) {}

Win32FileRemoval::~Win32FileRemoval() = default;

void Win32FileRemoval::Release() {
    while (!m_levels.empty()) {
        m_levels.pop_back();
    }
}

Removal Win32FileRemoval::HoldLevels(const std::string& root, const std::string& name,
                                     std::string* path) {
    *path = root + name;
    std::vector<std::string> wanted{LevelPath(root)};
    if (name.empty()) {
        wanted.clear();
    }
    for (std::size_t p = FindBackslash(*path, root.size(), m_isLead);
         !name.empty() && p != std::string::npos; p = FindBackslash(*path, p + 1, m_isLead)) {
        wanted.push_back(path->substr(0, p));
    }
    std::size_t kept = 0;
    while (kept < m_levels.size() && kept < wanted.size() && m_levels[kept]->path == wanted[kept]) {
        ++kept;
    }
    // Innermost first, so that no folder is let go while one below it is held.
    while (m_levels.size() > kept) {
        m_levels.pop_back();
    }
    for (std::size_t i = kept; i < wanted.size(); ++i) {
        auto level = std::make_unique<Level>();
        level->path = wanted[i];
        level->handle.reset(::CreateFileA(wanted[i].c_str(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, kOpenItself, nullptr));
        if (!level->handle) {
            const DWORD error = ::GetLastError();
            return IsMissingError(error) ? Removal::kMissing : Removal::kFailed;
        }
        const DWORD attributes = CheckedAttributes(level->handle.get(), wanted[i]);
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return Removal::kFailed;
        }
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            return Removal::kLink;
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            return Removal::kMissing;
        }
        m_levels.push_back(std::move(level));
    }
    return Removal::kRemoved;
}

Removal Win32FileRemoval::RemoveItem(const std::string& path, bool folder) {
    const std::string item = LevelPath(path);
    UniqueHandle handle(::CreateFileA(item.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, kOpenItself, nullptr));
    if (!handle) {
        const DWORD error = ::GetLastError();
        return IsMissingError(error) ? Removal::kMissing : Removal::kFailed;
    }
    const DWORD attributes = CheckedAttributes(handle.get(), item);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return Removal::kFailed;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return Removal::kLink;
    }
    if (((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder) {
        return Removal::kWrongKind;
    }
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    if (!::SetFileInformationByHandle(handle.get(), FileDispositionInfo, &disposition,
                                      sizeof(disposition))) {
        return ::GetLastError() == ERROR_DIR_NOT_EMPTY ? Removal::kNotEmpty : Removal::kFailed;
    }
    handle.reset();
    // A folder that some system removes only once it is empty shows here.
    if (folder && ::GetFileAttributesA(item.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return Removal::kNotEmpty;
    }
    return Removal::kRemoved;
}

Removal Win32FileRemoval::RemoveFile(const std::string& root, const std::string& name) {
    std::string path;
    const Removal levels = HoldLevels(root, name, &path);
    return levels == Removal::kRemoved ? RemoveItem(path, false) : levels;
}

Removal Win32FileRemoval::RemoveFolder(const std::string& root, const std::string& name) {
    std::string path;
    const Removal levels = HoldLevels(root, name, &path);
    return levels == Removal::kRemoved ? RemoveItem(path, true) : levels;
}

ItemKind Win32FileRemoval::Inspect(const std::string& root, const std::string& name) {
    std::string path;
    const Removal levels = HoldLevels(root, name, &path);
    if (levels == Removal::kLink) {
        return ItemKind::kLink;
    }
    if (levels != Removal::kRemoved) {
        return ItemKind::kMissing;
    }
    UniqueHandle handle(::CreateFileA(LevelPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, kOpenItself, nullptr));
    const DWORD attributes =
        handle ? CheckedAttributes(handle.get(), LevelPath(path)) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return ItemKind::kMissing;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return ItemKind::kLink;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ItemKind::kFolder : ItemKind::kFile;
}

}  // namespace qz
