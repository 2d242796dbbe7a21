#include "qzpack/host/source_files.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace qz::pack {
namespace {

// A folder handle only for looking names up: it needs no right to list the
// folder, just as a lookup by the whole path does not.
#ifdef O_PATH
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

// A file read with plain read(2) calls: its bytes go from the system straight
// into the copy buffer, with no stdio buffer to allocate, fill and copy out of
// for every file. A regular file answers a request short only at its end, so
// after a short answer the next call says "end" without asking the system
// again (the packer's check that a file did not grow costs no call).
class SourceReadStream : public ReadStream {
  public:
    explicit SourceReadStream(int fd) : m_fd(fd), m_at_end(false) {}
    ~SourceReadStream() override { close(m_fd); }
    SourceReadStream(const SourceReadStream&) = delete;
    SourceReadStream& operator=(const SourceReadStream&) = delete;

    std::int64_t Read(void* buf, std::size_t n) override {
        if (m_at_end) {
            return 0;
        }
        for (;;) {
            const ssize_t got = read(m_fd, buf, n);
            if (got >= 0) {
                m_at_end = n > 0 && static_cast<std::size_t>(got) < n;
                return static_cast<std::int64_t>(got);
            }
            if (errno != EINTR) {
                return -1;
            }
        }
    }

  private:
    int m_fd;
    bool m_at_end;  // a read came back short: the end of the file was reached
};

}  // namespace

SourceFiles::SourceFiles() : m_folder_fd(-1) {}

SourceFiles::~SourceFiles() {
    if (m_folder_fd >= 0) {
        close(m_folder_fd);
    }
}

int SourceFiles::FolderOf(const std::string& path, const char** leaf) {
    // A file of the held folder: its path is the folder's, a slash and a last
    // level without one (found without searching the whole path backwards).
    const std::size_t held = m_folder.size();
    if (m_folder_fd >= 0 && path.size() > held + 1 && path[held] == '/' &&
        path.compare(0, held, m_folder) == 0 &&
        std::memchr(path.data() + held + 1, '/', path.size() - held - 1) == nullptr) {
        *leaf = path.c_str() + held + 1;
        return m_folder_fd;
    }
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash + 1 == path.size()) {
        *leaf = path.c_str();
        return AT_FDCWD;
    }
    if (m_folder_fd < 0 || m_folder.size() != slash || path.compare(0, slash, m_folder) != 0) {
        if (m_folder_fd >= 0) {
            close(m_folder_fd);
        }
        m_folder.assign(path, 0, slash);
        m_folder_fd = open(slash == 0 ? "/" : m_folder.c_str(), kFolderFlags);
    }
    if (m_folder_fd < 0) {
        // The folder could not be held: the whole path gives the same answer
        // (or the same error) as ever.
        *leaf = path.c_str();
        return AT_FDCWD;
    }
    *leaf = path.c_str() + slash + 1;
    return m_folder_fd;
}

std::unique_ptr<ReadStream> SourceFiles::Open(const std::filesystem::path::string_type& path) {
    const char* leaf = nullptr;
    const int folder = FolderOf(path, &leaf);
    // O_NOFOLLOW: every source is a file that was no link when it was
    // scanned (a link's item names the file it leads to), so a link found
    // there now was put in its place since, and is not followed.
    const int fd = openat(folder, leaf, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<SourceReadStream>(fd);
}

}  // namespace qz::pack
