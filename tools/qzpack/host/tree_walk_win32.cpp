#include <windows.h>

#include "qzpack/host/tree_walk.h"

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
    bool Size(std::uintmax_t* size, std::error_code* ec) const override {
        *size = fs::file_size(m_entry.path(), *ec);
        return !*ec;
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
