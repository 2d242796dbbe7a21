#include "qzpack/host/tree_walk.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace qz::pack {
namespace {

namespace fs = std::filesystem;

fs::file_type TypeOfMode(mode_t mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return fs::file_type::regular;
        case S_IFDIR:
            return fs::file_type::directory;
        case S_IFLNK:
            return fs::file_type::symlink;
        case S_IFIFO:
            return fs::file_type::fifo;
        case S_IFSOCK:
            return fs::file_type::socket;
        case S_IFCHR:
            return fs::file_type::character;
        case S_IFBLK:
            return fs::file_type::block;
        default:
            return fs::file_type::unknown;
    }
}

// The type a listing gives (its d_type is the mode's type bits, shifted), or
// none when it gives none.
fs::file_type TypeOfListing(unsigned char d_type) {
    return d_type == DT_UNKNOWN ? fs::file_type::none : TypeOfMode(DTTOIF(d_type));
}

// An open folder listing, closed once.
class Listing {
  public:
    explicit Listing(int fd) : m_dir(fd >= 0 ? fdopendir(fd) : nullptr) {
        if (m_dir == nullptr && fd >= 0) {
            close(fd);
        }
    }
    ~Listing() {
        if (m_dir != nullptr) {
            closedir(m_dir);
        }
    }
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;

    DIR* get() const { return m_dir; }

  private:
    DIR* m_dir;
};

// An entry looked at through its folder's handle and its own name, so that
// no look walks the whole path again.
class FolderEntry : public TreeEntry {
  public:
    FolderEntry(int folder, const char* name, unsigned char d_type, const String& path,
                std::size_t relative_start)
        : m_folder(folder),
          m_name(name),
          m_listed(TypeOfListing(d_type)),
          m_path(path),
          m_relative_start(relative_start) {}

    const String& Path() const override { return m_path; }
    String Relative() const override { return m_path.substr(m_relative_start); }
    bool OwnType(fs::file_type* type, std::error_code* ec) const override {
        if (m_listed != fs::file_type::none) {
            *type = m_listed;
            ec->clear();
            return true;
        }
        return Look(AT_SYMLINK_NOFOLLOW, type, nullptr, ec);
    }
    bool TargetType(fs::file_type* type, std::error_code* ec) const override {
        return Look(0, type, nullptr, ec);
    }
    bool Measure(FileFacts* facts, std::error_code* ec) const override {
        fs::file_type type;
        if (!Look(0, &type, facts, ec)) {
            return false;
        }
        if (type == fs::file_type::directory) {
            *ec = std::make_error_code(std::errc::is_a_directory);
            return false;
        }
        if (type != fs::file_type::regular) {
            *ec = std::make_error_code(std::errc::not_supported);
            return false;
        }
        return true;
    }

  private:
    // One fstatat with the given flags; *facts set when asked for.
    bool Look(int flags, fs::file_type* type, FileFacts* facts, std::error_code* ec) const {
        struct stat st;
        if (fstatat(m_folder, m_name, &st, flags) != 0) {
            *ec = std::error_code(errno, std::generic_category());
            return false;
        }
        ec->clear();
        *type = TypeOfMode(st.st_mode);
        if (facts != nullptr) {
            facts->size = static_cast<std::uintmax_t>(st.st_size);
            facts->identity = {static_cast<std::uint64_t>(st.st_dev),
                               static_cast<std::uint64_t>(st.st_ino)};
            facts->links = static_cast<std::uintmax_t>(st.st_nlink);
        }
        return true;
    }

    int m_folder;
    const char* m_name;
    fs::file_type m_listed;
    const String& m_path;
    std::size_t m_relative_start;
};

// Walks the folder open as fd (taken over), whose path is *path; entries'
// paths are built on *path, their levels below the walked folder starting at
// relative_start.
bool WalkFolder(int fd, std::string* path, std::size_t relative_start, const TreeVisitor& visit,
                std::error_code* ec) {
    Listing listing(fd);
    if (listing.get() == nullptr) {
        *ec = std::error_code(errno, std::generic_category());
        return false;
    }
    const int folder = dirfd(listing.get());
    const std::size_t base = path->size();
    const bool separate = base > 0 && (*path)[base - 1] != '/';
    for (;;) {
        errno = 0;
        const dirent* item = readdir(listing.get());
        if (item == nullptr) {
            if (errno != 0) {
                *ec = std::error_code(errno, std::generic_category());
                return false;
            }
            return true;
        }
        const char* name = item->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
            continue;
        }
        path->resize(base);
        if (separate) {
            *path += '/';
        }
        *path += name;
        const FolderEntry entry(folder, name, item->d_type, *path, relative_start);
        if (!visit(entry)) {
            return false;
        }
        fs::file_type own;
        std::error_code own_ec;
        if (entry.OwnType(&own, &own_ec) && own == fs::file_type::directory) {
            const int child = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child < 0) {
                *ec = std::error_code(errno, std::generic_category());
                return false;
            }
            if (!WalkFolder(child, path, relative_start, visit, ec)) {
                return false;
            }
        }
    }
}

}  // namespace

bool WalkTree(const fs::path& folder, const TreeVisitor& visit, std::error_code* ec) {
    ec->clear();
    std::string path = folder.native();
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        *ec = std::error_code(errno, std::generic_category());
        return false;
    }
    const std::size_t relative_start = path.size() + (path.back() != '/' ? 1 : 0);
    return WalkFolder(fd, &path, relative_start, visit, ec);
}

}  // namespace qz::pack
