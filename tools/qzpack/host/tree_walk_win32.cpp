#include <windows.h>

#include "qzpack/host/tree_walk.h"

#include "common/unique_handle_win32.h"

namespace qz::pack {
namespace {

namespace fs = std::filesystem;

// An entry of the standard library's walk.
class ListedEntry : public TreeEntry {
  public:
    ListedEntry(const fs::path& folder, const fs::directory_entry& entry)
        : m_folder(folder), m_entry(entry) {}

    const String& Path() const override { return m_entry.path().native(); }
    String Relative() const override { return m_entry.path().lexically_relative(m_folder); }
    // The listing's type where the system gives one, so that a plain file or
    // folder costs no look.
    // A reparse point (a junction, a mount point, a link) is taken for a
    // link, which the standard library does not do for all of them.
    bool OwnType(fs::file_type* type, std::error_code* ec) const override {
        const DWORD attributes = GetFileAttributesW(m_entry.path().c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            *type = fs::file_type::symlink;
            ec->clear();
            return true;
        }
        if (m_entry.is_regular_file(*ec) && !m_entry.is_symlink(*ec) && !*ec) {
            *type = fs::file_type::regular;
            return true;
        }
        ec->clear();
        *type = m_entry.symlink_status(*ec).type();
        return !*ec;
    }
    bool TargetType(fs::file_type* type, std::error_code* ec) const override {
        *type = m_entry.status(*ec).type();
        return !*ec;
    }
    // Through the file's own handle, a link followed as the scan follows a
    // link to a file.
    bool Measure(FileFacts* facts, std::error_code* ec) const override {
        UniqueHandle file(::CreateFileW(m_entry.path().c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                        nullptr));
        BY_HANDLE_FILE_INFORMATION info;
        if (!file || !::GetFileInformationByHandle(file.get(), &info)) {
            *ec = std::error_code(static_cast<int>(::GetLastError()), std::system_category());
            return false;
        }
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            *ec = std::make_error_code(std::errc::is_a_directory);
            return false;
        }
        ec->clear();
        facts->size = static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
        facts->identity = {
            info.dwVolumeSerialNumber,
            static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
        facts->links = info.nNumberOfLinks;
        return true;
    }

  private:
    const fs::path& m_folder;
    const fs::directory_entry& m_entry;
};

}  // namespace

bool WalkTree(const fs::path& folder, const TreeVisitor& visit, std::error_code* ec) {
    fs::recursive_directory_iterator it(folder, fs::directory_options::none, *ec);
    for (; !*ec && it != fs::recursive_directory_iterator(); it.increment(*ec)) {
        if (!visit(ListedEntry(folder, *it))) {
            return false;
        }
    }
    return !*ec;
}

}  // namespace qz::pack
