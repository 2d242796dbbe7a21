#include "common/file_system_posix.h"

#include <errno.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "common/descriptor_io_posix.h"
#include "common/kernel_copy_posix.h"
#include "common/random_name.h"
#include "common/unique_fd_posix.h"

namespace qz {
namespace {

// An iconv descriptor, closed once.
class IconvHandle {
  public:
    IconvHandle(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (valid()) {
            iconv_close(m_cd);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }

  private:
    iconv_t m_cd;
};

// True when every byte is ASCII, which GBK and UTF-8 encode alike.
bool IsAscii(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool Convert(const char* to, const char* from, const std::string& in, std::string* out) {
    // Most names are plain ASCII: they need no converter (opening one costs
    // more than the rest of a file's packing).
    if (IsAscii(in)) {
        *out = in;
        return true;
    }
    IconvHandle cd(to, from);
    if (!cd.valid()) {
        return false;
    }
    std::string result(in.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    char* dst = &result[0];
    std::size_t dst_left = result.size();
    // The output room is enough for any character of either encoding, so the
    // only failure is bad input.
    if (iconv(cd.get(), &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1) ||
        iconv(cd.get(), nullptr, nullptr, &dst, &dst_left) == static_cast<std::size_t>(-1)) {
        return false;
    }
    result.resize(result.size() - dst_left);
    *out = std::move(result);
    return true;
}

class PosixReadStream : public ReadStream, public DescriptorSource {
  public:
    explicit PosixReadStream(int fd) : m_fd(fd) {}

    int PositionedDescriptor() override { return m_fd.get(); }

    std::int64_t Read(void* buf, std::size_t n) override { return ReadSome(m_fd.get(), buf, n); }

  private:
    UniqueFd m_fd;
};

class PosixWriteStream : public WriteStream {
  public:
    explicit PosixWriteStream(int fd) : m_fd(fd) {}

    bool Write(const void* buf, std::size_t n) override {
        return m_fd.get() >= 0 && WriteAll(m_fd.get(), buf, n);
    }

    // By the kernel where it can, else read and write.
    std::int64_t CopyFrom(ReadStream& source, void* buf, std::size_t n) override {
        const std::int64_t copied = m_copy.Copy(source, m_fd.get(), n);
        return copied != kKernelCopyRefused ? copied : WriteStream::CopyFrom(source, buf, n);
    }

    bool Close() override { return m_fd.Close(); }

  private:
    UniqueFd m_fd;
    KernelCopy m_copy;
};

// A file that replaces another of its folder when it is closed: its bytes go
// to a new file under a random name there, renamed over the old name at the
// end, so that the old file (perhaps a hard link of a file elsewhere) is never
// written. The old file stays open, its lock held, until then.
class ReplacingWriteStream : public WriteStream {
  public:
    ReplacingWriteStream(int fresh, int folder, std::string temp, std::string name, int old)
        : m_fresh(fresh),
          m_folder(folder),
          m_temp(std::move(temp)),
          m_name(std::move(name)),
          m_old(old) {}
    ~ReplacingWriteStream() override { Close(); }
    ReplacingWriteStream(const ReplacingWriteStream&) = delete;
    ReplacingWriteStream& operator=(const ReplacingWriteStream&) = delete;

    bool Write(const void* buf, std::size_t n) override { return m_fresh.Write(buf, n); }
    std::int64_t CopyFrom(ReadStream& source, void* buf, std::size_t n) override {
        return m_fresh.CopyFrom(source, buf, n);
    }

    bool Close() override {
        if (m_done) {
            return true;
        }
        m_done = true;
        const int at = m_folder.get() >= 0 ? m_folder.get() : AT_FDCWD;
        if (!m_fresh.Close() || renameat(at, m_temp.c_str(), at, m_name.c_str()) != 0) {
            const int error = errno;
            unlinkat(at, m_temp.c_str(), 0);
            errno = error;
            return false;
        }
        return true;
    }

  private:
    PosixWriteStream m_fresh;
    UniqueFd m_folder;  // a handle of its own on the folder, or none: the current one
    std::string m_temp;
    std::string m_name;
    UniqueFd m_old;
    bool m_done = false;
};

// Opening without sharing: an exclusive advisory lock, refused at once when
// another descriptor of this or a cooperating process holds the file.
bool LockAlone(int fd) {
    return flock(fd, LOCK_EX | LOCK_NB) == 0;
}

// Flags for what is found at a name: a link is not followed, and a FIFO put
// there opens at once (and is then refused) instead of waiting for its other
// end.
constexpr int kFoundFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// Names tried for a replacement before giving up, and the random digits in
// each: only names planted on purpose make a second try needed.
constexpr int kTempNameTries = 16;
constexpr std::size_t kTempNameDigits = 12;

}  // namespace

bool GbkToUtf8(const std::string& gbk, std::string* utf8) {
    return Convert("UTF-8", "GBK", gbk, utf8);
}

bool Utf8ToGbk(const std::string& utf8, std::string* gbk) {
    return Convert("GBK", "UTF-8", utf8, gbk);
}

PosixFileSystem::PosixFileSystem(std::string root) : m_root(std::move(root)) {
    if (m_root.empty()) {
        m_root = ".";
    }
}

bool PosixFileSystem::MapPath(const std::string& path, std::string* host_path) const {
    std::string rel;
    if (!MapRelative(path, &rel)) {
        return false;
    }
    *host_path = rel.empty() ? m_root : m_root + "/" + rel;
    return true;
}

int PosixFileSystem::FolderOf(const std::string& path, std::string* leaf) {
    std::string rel;
    if (!MapRelative(path, &rel)) {
        errno = EINVAL;
        return -1;
    }
    // A folder named with a separator at its end is that folder.
    while (!rel.empty() && rel.back() == '/') {
        rel.pop_back();
    }
    if (rel.empty()) {
        *leaf = m_root;
        return AT_FDCWD;
    }
    const std::size_t slash = rel.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : rel.substr(0, slash);
    leaf->assign(rel, slash == std::string::npos ? 0 : slash + 1, std::string::npos);
    if (m_root_fd.get() < 0) {
        m_root_fd.Reset(open(m_root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (m_root_fd.get() < 0) {
            return -1;
        }
    }
    if (folder.empty()) {
        return m_root_fd.get();
    }
    if (m_folder_fd.get() >= 0 && folder == m_folder) {
        return m_folder_fd.get();
    }
    m_folder_fd.Reset();
    m_folder.clear();
    // Level by level from the root: O_NOFOLLOW refuses a level that is a link.
    UniqueFd at(-1);
    for (std::size_t start = 0; start <= folder.size();) {
        std::size_t end = folder.find('/', start);
        if (end == std::string::npos) {
            end = folder.size();
        }
        const std::string level = folder.substr(start, end - start);
        start = end + 1;
        if (level.empty() || level == ".") {
            continue;
        }
        const int next = openat(at.get() >= 0 ? at.get() : m_root_fd.get(), level.c_str(),
                                O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            return -1;
        }
        at.Reset(next);
    }
    if (at.get() < 0) {
        return m_root_fd.get();
    }
    m_folder = folder;
    m_folder_fd.Reset(at.release());
    return m_folder_fd.get();
}

bool PosixFileSystem::MapRelative(const std::string& path, std::string* relative) const {
    std::string rel;
    // Conversion first: only in UTF-8 is every byte 0x5C a backslash.
    if (!GbkToUtf8(path, &rel)) {
        return false;
    }
    for (char& c : rel) {
        if (c == '\\') {
            c = '/';
        }
    }
    const bool drive = rel.size() >= 2 && rel[1] == ':' &&
                       ((rel[0] >= 'A' && rel[0] <= 'Z') || (rel[0] >= 'a' && rel[0] <= 'z'));
    std::size_t start = drive ? 2 : 0;
    while (start < rel.size() && rel[start] == '/') {
        ++start;
    }
    rel.erase(0, start);
    // Refuse any ".." level, so that no path leaves the root.
    std::size_t level = 0;
    while (level <= rel.size()) {
        std::size_t end = rel.find('/', level);
        if (end == std::string::npos) {
            end = rel.size();
        }
        if (rel.compare(level, end - level, "..") == 0) {
            return false;
        }
        level = end + 1;
    }
    *relative = std::move(rel);
    return true;
}

bool PosixFileSystem::CreateDirectory(const std::string& path) {
    // The extraction asks for every level of every file's folder: a level this
    // file system has already seen needs no conversion and no system call (the
    // answer, "not made", is the same).
    if (m_knownDirectories.count(path) != 0) {
        return false;
    }
    std::string leaf;
    const int folder = FolderOf(path, &leaf);
    if (folder == -1) {
        return false;
    }
    const bool made = mkdirat(folder, leaf.c_str(), 0755) == 0;
    struct stat st;
    if (made || (errno == EEXIST && fstatat(folder, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                 S_ISDIR(st.st_mode))) {
        m_knownDirectories.insert(path);
    }
    return made;
}

std::unique_ptr<ReadStream> PosixFileSystem::OpenRead(const std::string& path) {
    std::string leaf;
    const int folder = FolderOf(path, &leaf);
    if (folder == -1) {
        return nullptr;
    }
    UniqueFd fd(openat(folder, leaf.c_str(), O_RDONLY | kFoundFlags));
    struct stat st;
    if (fd.get() < 0 || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || !LockAlone(fd.get())) {
        return nullptr;
    }
    return std::make_unique<PosixReadStream>(fd.release());
}

std::unique_ptr<WriteStream> PosixFileSystem::CreateWrite(const std::string& path) {
    std::string leaf;
    const int folder = FolderOf(path, &leaf);
    if (folder == -1) {
        return nullptr;
    }
    // A new file is made in its place: O_EXCL never opens what is there.
    UniqueFd fd(
        openat(folder, leaf.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (fd.get() >= 0) {
        if (!LockAlone(fd.get())) {
            return nullptr;
        }
        return std::make_unique<PosixWriteStream>(fd.release());
    }
    if (errno != EEXIST) {
        return nullptr;
    }
    // Something of that name is there. Only a regular file is replaced, and
    // only when it could be opened for writing and is not held elsewhere, as
    // with a file opened without sharing on Windows; it is opened to tell,
    // and for its lock, but never written.
    struct stat st;
    if (fstatat(folder, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        // What stands there is no file to replace; a link says so as an
        // O_NOFOLLOW open of it would.
        errno = S_ISLNK(st.st_mode) ? ELOOP : S_ISDIR(st.st_mode) ? EISDIR : EEXIST;
        return nullptr;
    }
    UniqueFd old(openat(folder, leaf.c_str(), O_WRONLY | kFoundFlags));
    if (old.get() < 0 || fstat(old.get(), &st) != 0) {
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EEXIST;
        return nullptr;
    }
    if (!LockAlone(old.get())) {
        return nullptr;
    }
    UniqueFd own_folder(folder == AT_FDCWD ? -1 : fcntl(folder, F_DUPFD_CLOEXEC, 0));
    if (folder != AT_FDCWD && own_folder.get() < 0) {
        return nullptr;
    }
    for (int i = 0; i < kTempNameTries; ++i) {
        std::string temp = ".qz-" + RandomHexDigits(kTempNameDigits) + ".part";
        UniqueFd fresh(openat(folder, temp.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (fresh.get() >= 0) {
            return std::make_unique<ReplacingWriteStream>(fresh.release(), own_folder.release(),
                                                          std::move(temp), leaf, old.release());
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return nullptr;
}

}  // namespace qz
