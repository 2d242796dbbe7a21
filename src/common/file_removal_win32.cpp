#include <windows.h>

#include "common/file_removal_win32.h"

#include "common/no_link_file_system_win32.h"
#include "common/unique_handle_win32.h"

namespace qz {
namespace {

// What a failed open of the layer means.
Removal FromOpenError(DWORD error) {
    switch (error) {
        case ERROR_CANT_RESOLVE_FILENAME:
            return Removal::kLink;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
        case ERROR_INVALID_NAME:
            return Removal::kMissing;
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

Removal Win32FileRemoval::Remove(const std::string& root, const std::string& name, bool folder) {
    NoLinkOpen how;
    how.access = DELETE | FILE_READ_ATTRIBUTES;
    how.share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    how.flags = FILE_FLAG_BACKUP_SEMANTICS;
    UniqueHandle item = LayerFor(root).Open(root + name, how);
    if (!item) {
        return FromOpenError(::GetLastError());
    }
    const DWORD attributes = AttributesOf(item.get());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return Removal::kFailed;
    }
    if (((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder) {
        return Removal::kWrongKind;
    }
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    if (!::SetFileInformationByHandle(item.get(), FileDispositionInfo, &disposition,
                                      sizeof(disposition))) {
        return ::GetLastError() == ERROR_DIR_NOT_EMPTY ? Removal::kNotEmpty : Removal::kFailed;
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
    return Remove(root, name, false);
}

Removal Win32FileRemoval::RemoveFolder(const std::string& root, const std::string& name) {
    return Remove(root, name, true);
}

ItemKind Win32FileRemoval::Inspect(const std::string& root, const std::string& name) {
    NoLinkOpen how;
    how.access = FILE_READ_ATTRIBUTES;
    how.share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    how.flags = FILE_FLAG_BACKUP_SEMANTICS;
    const UniqueHandle item = LayerFor(root).Open(root + name, how);
    if (!item) {
        return FromOpenError(::GetLastError()) == Removal::kLink ? ItemKind::kLink
                                                                 : ItemKind::kMissing;
    }
    const DWORD attributes = AttributesOf(item.get());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return ItemKind::kMissing;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ItemKind::kFolder : ItemKind::kFile;
}

}  // namespace qz
