#include "qzpack/host/host_file.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>

namespace qz::pack {
namespace {

// Large buffers: few system calls for the small reads of directory records
// and small files, and for the package's many writes.
constexpr std::size_t kHostBufferSize = 128 * 1024;

// A stdio stream with its own buffer, closed once.
class HostFile {
  public:
    // The buffer is left uninitialised: zeroing 128 KiB for every small file
    // packed cost more than reading the file.
    explicit HostFile(std::FILE* file) : m_file(file), m_buffer(new char[kHostBufferSize]) {
        std::setvbuf(m_file, m_buffer.get(), _IOFBF, kHostBufferSize);
    }
    ~HostFile() { Close(); }
    HostFile(const HostFile&) = delete;
    HostFile& operator=(const HostFile&) = delete;

    std::FILE* get() const { return m_file; }
    // True when the file was open and its data reached the system.
    bool Close() {
        if (m_file == nullptr) {
            return true;
        }
        std::FILE* file = m_file;
        m_file = nullptr;
        return std::fclose(file) == 0;
    }

  private:
    std::FILE* m_file;
    std::unique_ptr<char[]> m_buffer;
};

class HostReadStream : public ReadStream {
  public:
    explicit HostReadStream(std::FILE* file) : m_file(file) {}

    std::int64_t Read(void* buf, std::size_t n) override {
        const std::size_t got = std::fread(buf, 1, n, m_file.get());
        if (got == 0 && std::ferror(m_file.get())) {
            return -1;
        }
        return static_cast<std::int64_t>(got);
    }

  private:
    HostFile m_file;
};

class HostWriteStream : public WriteStream {
  public:
    explicit HostWriteStream(std::FILE* file) : m_file(file) {}

    bool Write(const void* buf, std::size_t n) override {
        return m_file.get() != nullptr && std::fwrite(buf, 1, n, m_file.get()) == n;
    }
    bool Close() override { return m_file.Close(); }

  private:
    HostFile m_file;
};

// fopen of a host path ("rb" or "wb"), wide. Null on failure.
std::FILE* OpenHostFile(const std::filesystem::path& path, const wchar_t* mode) {
    return _wfopen(path.c_str(), mode);
}

}  // namespace

std::unique_ptr<ReadStream> OpenHostRead(const std::filesystem::path& path) {
    std::FILE* file = OpenHostFile(path, L"rb");
    if (file == nullptr) {
        return nullptr;
    }
    return std::make_unique<HostReadStream>(file);
}

std::unique_ptr<WriteStream> CreateHostWrite(const std::filesystem::path& path) {
    std::FILE* file = OpenHostFile(path, L"wb");
    if (file == nullptr) {
        return nullptr;
    }
    return std::make_unique<HostWriteStream>(file);
}

std::unique_ptr<WriteStream> CreateNewHostWrite(const std::filesystem::path& path) {
    // _O_EXCL asks the system to create a new file (CREATE_NEW): any existing
    // name, a link or other reparse point included, is an error (EEXIST).
    const int fd =
        _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) {
        _close(fd);
        _wremove(path.c_str());
        return nullptr;
    }
    return std::make_unique<HostWriteStream>(file);
}

}  // namespace qz::pack
