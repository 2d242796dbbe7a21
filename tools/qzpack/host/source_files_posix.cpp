#include "qzpack/host/source_files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "common/kernel_copy_posix.h"
#include "common/unique_fd_posix.h"

namespace qz::pack {
namespace {

// Folders are opened to look names up in; the walk could list them, so they
// can be read as well.
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// O_NONBLOCK: a FIFO put in a file's place opens at once instead of waiting
// for a writer, and is then refused as no regular file. A regular file reads
// as ever.
constexpr int kFileFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// A file read with plain read(2) calls: its bytes go from the system straight
// into the copy buffer, with no stdio buffer to allocate, fill and copy out of
// for every file. A regular file answers a request short only at its end, so
// after a short answer the next call says "end" without asking the system
// again (the packer's check that a file did not grow costs no call). A copy
// by the kernel reads from the descriptor itself.
class SourceReadStream : public ReadStream, public DescriptorSource {
  public:
    explicit SourceReadStream(int fd) : m_fd(fd), m_at_end(false) {}

    int PositionedDescriptor() override { return m_fd.get(); }

    std::int64_t Read(void* buf, std::size_t n) override {
        if (m_at_end) {
            return 0;
        }
        for (;;) {
            const ssize_t got = read(m_fd.get(), buf, n);
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
    UniqueFd m_fd;
    bool m_at_end;  // a read came back short: the end of the file was reached
};

}  // namespace

// The scanned folder and the folder below it held open last.
class SourceFiles::Folders {
  public:
    // The handle of the folder named by the levels relative (separated by
    // slashes; empty for the root), each opened in the one before without
    // following a link; -1 with errno set when one cannot be opened.
    int Open(const std::filesystem::path& root, const char* relative, std::size_t length) {
        if (m_root.get() < 0) {
            m_root.Reset(open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (m_root.get() < 0) {
                return -1;
            }
        }
        if (length == 0) {
            return m_root.get();
        }
        if (m_held.get() >= 0 && m_folder.size() == length &&
            m_folder.compare(0, length, relative, length) == 0) {
            return m_held.get();
        }
        m_held.Reset();
        m_folder.clear();
        UniqueFd at;
        for (std::size_t start = 0; start < length;) {
            const char* slash =
                static_cast<const char*>(std::memchr(relative + start, '/', length - start));
            const std::size_t end = slash != nullptr ? slash - relative : length;
            const std::string level(relative + start, end - start);
            start = end + 1;
            const int next =
                openat(at.get() >= 0 ? at.get() : m_root.get(), level.c_str(), kFolderFlags);
            if (next < 0) {
                return -1;
            }
            at.Reset(next);
        }
        m_folder.assign(relative, length);
        m_held.Reset(at.release());
        return m_held.get();
    }

  private:
    UniqueFd m_root;
    std::string m_folder;  // the levels of the folder held, below the root
    UniqueFd m_held;
};

SourceFiles::SourceFiles(std::filesystem::path root)
    : m_root(std::move(root)), m_folders(std::make_unique<Folders>()) {}

SourceFiles::~SourceFiles() = default;

std::unique_ptr<ReadStream> SourceFiles::Open(const String& path, std::size_t relative_at,
                                              const FileIdentity& identity) {
    if (relative_at >= path.size()) {
        errno = EINVAL;
        return nullptr;
    }
    const char* relative = path.c_str() + relative_at;
    const char* last = std::strrchr(relative, '/');
    const std::size_t folder_length = last != nullptr ? last - relative : 0;
    const char* leaf = last != nullptr ? last + 1 : relative;
    const int folder = m_folders->Open(m_root, relative, folder_length);
    if (folder < 0) {
        return nullptr;
    }
    UniqueFd fd(openat(folder, leaf, kFileFlags));
    struct stat st;
    if (fd.get() < 0 || fstat(fd.get(), &st) != 0) {
        return nullptr;
    }
    const FileIdentity found{static_cast<std::uint64_t>(st.st_dev),
                             static_cast<std::uint64_t>(st.st_ino)};
    if (!S_ISREG(st.st_mode) || !(found == identity)) {
        errno = S_ISREG(st.st_mode) ? ESTALE : EINVAL;
        return nullptr;
    }
    return std::make_unique<SourceReadStream>(fd.release());
}

}  // namespace qz::pack
