#include "qzpack/host/host_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "common/descriptor_io_posix.h"
#include "common/kernel_copy_posix.h"
#include "common/unique_fd_posix.h"

namespace qz::pack {
namespace {

// Large buffers: few system calls for the small reads of directory records
// and for the package's many small writes. Left uninitialised: zeroing them
// costs more than a small package's reading.
constexpr std::size_t kHostBufferSize = 128 * 1024;

// A host file read through its descriptor and a buffer of its own. A copy by
// the kernel takes the descriptor, after the bytes read ahead are given back
// by a seek (a pipe, which cannot seek, is then read as ever).
class HostReadStream : public ReadStream, public DescriptorSource {
  public:
    explicit HostReadStream(int fd) : m_fd(fd) {}

    std::int64_t Read(void* buf, std::size_t n) override {
        char* to = static_cast<char*>(buf);
        std::size_t done = 0;
        while (done < n) {
            if (m_begin == m_end) {
                // A request as large as the buffer goes straight to the caller.
                const bool direct = n - done >= kHostBufferSize;
                if (!direct && !m_buffer) {
                    m_buffer.reset(new char[kHostBufferSize]);
                }
                const std::int64_t got =
                    direct ? ReadSome(m_fd.get(), to + done, n - done)
                           : ReadSome(m_fd.get(), m_buffer.get(), kHostBufferSize);
                if (got <= 0) {
                    return done > 0 ? static_cast<std::int64_t>(done) : got;
                }
                if (direct) {
                    done += static_cast<std::size_t>(got);
                    continue;
                }
                m_begin = 0;
                m_end = static_cast<std::size_t>(got);
            }
            const std::size_t take = std::min(n - done, m_end - m_begin);
            std::memcpy(to + done, m_buffer.get() + m_begin, take);
            m_begin += take;
            done += take;
        }
        return static_cast<std::int64_t>(done);
    }

    int PositionedDescriptor() override {
        if (m_begin != m_end) {
            const off_t ahead = static_cast<off_t>(m_end - m_begin);
            if (lseek(m_fd.get(), -ahead, SEEK_CUR) < 0) {
                return -1;
            }
            m_begin = m_end = 0;
        }
        return m_fd.get();
    }

  private:
    UniqueFd m_fd;
    std::unique_ptr<char[]> m_buffer;  // made on the first small read
    std::size_t m_begin = 0;           // the bytes read ahead: [m_begin, m_end)
    std::size_t m_end = 0;
};

// A host file written through its descriptor and a buffer of its own, which
// it writes whole: the file is written in 128 KiB pieces at multiples of
// 128 KiB, so that the system never has to merge bytes into a page it holds
// in part (slower, measurably so for a package, whose data area begins at byte
// 28 + 264 x entries). For the same reason bytes copied from another file go
// by the kernel only where both files stand at the same offset within a page:
// at other offsets the kernel copies slower than a read into the buffer and
// its aligned writes.
class HostWriteStream : public WriteStream {
  public:
    explicit HostWriteStream(int fd) : m_fd(fd), m_buffer(new char[kHostBufferSize]) {}
    ~HostWriteStream() override { Close(); }
    HostWriteStream(const HostWriteStream&) = delete;
    HostWriteStream& operator=(const HostWriteStream&) = delete;

    bool Write(const void* buf, std::size_t n) override {
        if (m_fd.get() < 0) {
            return false;
        }
        const char* from = static_cast<const char*>(buf);
        while (n > 0) {
            const std::size_t take = std::min(n, kHostBufferSize - m_used);
            std::memcpy(m_buffer.get() + m_used, from, take);
            m_used += take;
            from += take;
            n -= take;
            if (m_used == kHostBufferSize && !Flush()) {
                return false;
            }
        }
        return true;
    }

    std::int64_t CopyFrom(ReadStream& source, void* buf, std::size_t n) override {
        if (m_fd.get() < 0) {
            return kCopyWriteFailed;
        }
        const std::int64_t from = DescriptorPosition(source);
        const std::int64_t to = m_written + static_cast<std::int64_t>(m_used);
        if (from < 0 || (to - from) % PageSize() != 0) {
            return WriteStream::CopyFrom(source, buf, n);
        }
        if (!Flush()) {
            return kCopyWriteFailed;
        }
        const std::int64_t copied = m_copy.Copy(source, m_fd.get(), n);
        if (copied == kKernelCopyRefused) {
            return WriteStream::CopyFrom(source, buf, n);
        }
        m_written += copied;
        return copied;
    }

    bool Close() override {
        if (m_fd.get() < 0) {
            return true;
        }
        const bool flushed = Flush();
        return m_fd.Close() && flushed;
    }

  private:
    static std::int64_t PageSize() {
        static const std::int64_t size = sysconf(_SC_PAGESIZE) > 0 ? sysconf(_SC_PAGESIZE) : 4096;
        return size;
    }

    bool Flush() {
        const std::size_t used = m_used;
        m_used = 0;
        m_written += static_cast<std::int64_t>(used);
        return WriteAll(m_fd.get(), m_buffer.get(), used);
    }

    UniqueFd m_fd;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;      // bytes in the buffer, not yet written
    std::int64_t m_written = 0;  // bytes handed to the system: the file's offset
    KernelCopy m_copy;
};

}  // namespace

std::unique_ptr<ReadStream> OpenHostRead(const std::filesystem::path& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<HostReadStream>(fd);
}

std::unique_ptr<WriteStream> CreateHostWrite(const std::filesystem::path& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<HostWriteStream>(fd);
}

std::unique_ptr<WriteStream> CreateNewHostWrite(const std::filesystem::path& path) {
    // O_EXCL: an existing name, a link included, is an error (EEXIST).
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<HostWriteStream>(fd);
}

}  // namespace qz::pack
