#include "qzpack/host/watched_file_system.h"

#include "qzpack/host/system_error_text.h"

namespace qz::pack {
namespace {

class WatchedWriteStream : public WriteStream {
  public:
    WatchedWriteStream(std::unique_ptr<WriteStream> inner, WatchedFileSystem& owner,
                       std::string path)
        : m_inner(std::move(inner)), m_owner(owner), m_path(std::move(path)) {}

    bool Write(const void* buf, std::size_t n) override {
        const bool ok = m_inner->Write(buf, n);
        if (!ok) {
            m_owner.Fail(m_path);
        }
        return ok;
    }
    std::int64_t CopyFrom(ReadStream& source, void* buf, std::size_t n) override {
        const std::int64_t copied = m_inner->CopyFrom(source, buf, n);
        if (copied == kCopyWriteFailed) {
            m_owner.Fail(m_path);
        }
        return copied;
    }
    bool Close() override {
        const bool ok = m_inner->Close();
        if (!ok) {
            m_owner.Fail(m_path);
        }
        return ok;
    }

  private:
    std::unique_ptr<WriteStream> m_inner;
    WatchedFileSystem& m_owner;
    std::string m_path;
};

}  // namespace

std::unique_ptr<WriteStream> WatchedFileSystem::CreateWrite(const std::string& path) {
    std::unique_ptr<WriteStream> stream = m_inner.CreateWrite(path);
    if (!stream) {
        Fail(path);
        return nullptr;
    }
    return std::make_unique<WatchedWriteStream>(std::move(stream), *this, path);
}

void WatchedFileSystem::Fail(const std::string& path) {
    if (m_failure.path.empty()) {
        m_failure = {path, LastSystemErrorText()};
    }
}

}  // namespace qz::pack
