#include <windows.h>

#include "common/file_removal_win32.h"

#include "common/no_link_file_system_win32.h"
#include "common/unique_handle_win32.h"

namespace qz {
namespace {

// What a refusal with `error` means.
Removal FromError(DWORD error) {
    switch (error) {
        case ERROR_CANT_RESOLVE_FILENAME:
            return Removal::kLink;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
        case ERROR_INVALID_NAME:
            return Removal::kMissing;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            return Removal::kInUse;
        default:
            return Removal::kFailed;
    }
}

DWORD AttributesOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info = {};
    return ::GetFileInformationByHandle(handle, &info) ? info.dwFileAttributes
                                                       : INVALID_FILE_ATTRIBUTES;
}

}  // namespace

Win32FileRemoval::Win32FileRemoval(LeadByteTest is_lead) : m_isLead(is_lead) {}

Win32FileRemoval::~Win32FileRemoval() = default;

void Win32FileRemoval::Release() {
    m_layers.clear();
}

NoLinkFileSystem& Win32FileRemoval::LayerFor(const std::string& root) {
    for (auto& layer : m_layers) {
        if (layer.first == root) {
            return *layer.second;
        }
    }
    m_layers.emplace_back(root, std::make_unique<NoLinkFileSystem>(root, m_isLead));
    return *m_layers.back().second;
}

Removal Win32FileRemoval::Remove(const std::string& root, const std::string& name, bool folder,
                                 std::uint32_t* error) {
    NoLinkOpen how;
    how.access = DELETE | FILE_READ_ATTRIBUTES;
    how.share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    how.flags = FILE_FLAG_BACKUP_SEMANTICS;
    UniqueHandle item = LayerFor(root).Open(root + name, how);
    if (!item) {
        *error = ::GetLastError();
        return FromError(*error);
    }
    const DWORD attributes = AttributesOf(item.get());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        *error = ::GetLastError();
        return Removal::kFailed;
    }
    if (((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder) {
        return Removal::kWrongKind;
    }
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    if (!::SetFileInformationByHandle(item.get(), FileDispositionInfo, &disposition,
                                      sizeof(disposition))) {
        *error = ::GetLastError();
        return *error == ERROR_DIR_NOT_EMPTY ? Removal::kNotEmpty : FromError(*error);
    }
    item.reset();
    // A system that removes a folder only once it is empty shows that here.
    const std::string path = root + name;
    if (folder && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return Removal::kNotEmpty;
    }
    return Removal::kRemoved;
}

Removal Win32FileRemoval::RemoveFile(const std::string& root, const std::string& name) {
    std::uint32_t error = ERROR_SUCCESS;
    const Removal removal = Remove(root, name, false, &error);
    // Set once the handles are closed, so that the caller reads this one.
    ::SetLastError(error);
    return removal;
}

Removal Win32FileRemoval::RemoveFolder(const std::string& root, const std::string& name) {
    std::uint32_t error = ERROR_SUCCESS;
    const Removal removal = Remove(root, name, true, &error);
    ::SetLastError(error);
    return removal;
}

bool Win32FileRemoval::MarkForRestart(const std::string& root, const std::string& name) {
    std::string path = root + name;
    // A folder is named without its trailing backslash, a drive's root never.
    if (name.empty() && path.size() > 3) {
        path.pop_back();
    }
    return path.size() > 3 &&
           ::MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

ItemKind Win32FileRemoval::Inspect(const std::string& root, const std::string& name) {
    NoLinkOpen how;
    how.access = FILE_READ_ATTRIBUTES;
    how.share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    how.flags = FILE_FLAG_BACKUP_SEMANTICS;
    const UniqueHandle item = LayerFor(root).Open(root + name, how);
    if (!item) {
        return FromError(::GetLastError()) == Removal::kLink ? ItemKind::kLink : ItemKind::kMissing;
    }
    const DWORD attributes = AttributesOf(item.get());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return ItemKind::kMissing;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ItemKind::kFolder : ItemKind::kFile;
}

}  // namespace qz
