#include <windows.h>

#include "qzpack/host/source_files.h"

#include <vector>

#include "common/read_stream_win32.h"
#include "common/unique_handle_win32.h"

namespace qz::pack {
namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The facts of an open handle; false when the system gives none.
bool Facts(HANDLE handle, BY_HANDLE_FILE_INFORMATION* info) {
    return ::GetFileInformationByHandle(handle, info) != 0;
}

bool IsReparsePoint(const BY_HANDLE_FILE_INFORMATION& info) {
    return (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool IsDirectory(const BY_HANDLE_FILE_INFORMATION& info) {
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A folder opened by its path for holding: not followed when it is a reparse
// point (a junction, a mount point, a link), and shared for reading and
// writing but not for deleting, so that it can be neither renamed nor
// replaced while it is held. root: a reparse point is followed (the folder
// given may itself be a link).
UniqueHandle OpenFolder(const std::wstring& path, bool root) {
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (root ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    UniqueHandle folder(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      flags, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!folder || !Facts(folder.get(), &info)) {
        return UniqueHandle();
    }
    if (!IsDirectory(info) || IsReparsePoint(info)) {
        ::SetLastError(ERROR_CANT_RESOLVE_FILENAME);
        return UniqueHandle();
    }
    return folder;
}

}  // namespace

// The scanned folder and every level down to the folder held open last. The
// system opens a file by its whole path; with every level of that path held
// and checked, the path leads where the scan went.
class SourceFiles::Folders {
  public:
    // Holds the levels of path from relative_at to folder_end (the folder's
    // end), each checked to be no reparse point; false with the thread's last
    // error set when one cannot be held.
    bool Hold(const std::filesystem::path& root, const String& path, std::size_t relative_at,
              std::size_t folder_end) {
        if (!m_root) {
            m_root = OpenFolder(root.native(), true);
            if (!m_root) {
                return false;
            }
        }
        if (m_held && folder_end == m_folder.size() && path.compare(0, folder_end, m_folder) == 0) {
            return true;
        }
        m_levels.clear();
        m_folder.clear();
        m_held = false;
        for (std::size_t at = relative_at; at < folder_end;) {
            std::size_t end = at;
            while (end < folder_end && !IsSeparator(path[end])) {
                ++end;
            }
            if (end > at) {
                UniqueHandle level = OpenFolder(path.substr(0, end), false);
                if (!level) {
                    m_levels.clear();
                    return false;
                }
                m_levels.push_back(std::move(level));
            }
            at = end + 1;
        }
        m_folder.assign(path, 0, folder_end);
        m_held = true;
        return true;
    }

  private:
    UniqueHandle m_root;
    String m_folder;  // the path of the folder held, as the items spell it
    bool m_held = false;
    std::vector<UniqueHandle> m_levels;  // its levels below the root, outermost first
};

SourceFiles::SourceFiles(std::filesystem::path root)
    : m_root(std::move(root)), m_folders(std::make_unique<Folders>()) {}

SourceFiles::~SourceFiles() = default;

std::unique_ptr<ReadStream> SourceFiles::Open(const String& path, std::size_t relative_at,
                                              const FileIdentity& identity) {
    if (relative_at >= path.size()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::size_t folder_end = path.size();
    while (folder_end > relative_at && !IsSeparator(path[folder_end - 1])) {
        --folder_end;
    }
    // folder_end: just past the separator before the last level, or
    // relative_at for a file of the root itself.
    const std::size_t held_end = folder_end > relative_at ? folder_end - 1 : relative_at;
    if (!m_folders->Hold(m_root, path, relative_at, held_end)) {
        return nullptr;
    }
    // Shared as a C stream opens a file, but not for deleting: it can be
    // neither renamed nor replaced while it is read.
    UniqueHandle file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !Facts(file.get(), &info)) {
        return nullptr;
    }
    const FileIdentity found{
        info.dwVolumeSerialNumber,
        static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
    if (::GetFileType(file.get()) != FILE_TYPE_DISK || IsDirectory(info) || IsReparsePoint(info) ||
        !(found == identity)) {
        ::SetLastError(ERROR_CANT_RESOLVE_FILENAME);
        return nullptr;
    }
    return std::make_unique<Win32ReadStream>(std::move(file));
}

}  // namespace qz::pack
