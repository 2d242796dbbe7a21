#include <windows.h>

#include "common/logged_file_system_win32.h"

#include <utility>

#include "common/texts.h"

namespace qz {
namespace {

// A file being written: its one event comes when it is closed, or with the
// first failure.
class LoggedWriteStream final : public WriteStream {
  public:
    LoggedWriteStream(std::unique_ptr<WriteStream> inner, RunLog& log, std::string path)
        : m_inner(std::move(inner)), m_log(log), m_path(std::move(path)) {}

    bool Write(const void* buf, std::size_t n) override {
        const bool written = m_inner->Write(buf, n);
        if (!written) {
            Fail();
        }
        return written;
    }

    bool Close() override {
        const bool first = !m_logged;
        const bool closed = m_inner->Close();
        if (!closed) {
            Fail();
        } else if (first) {
            m_logged = true;
            m_log.Event(kRunLogFileWritten, m_path);
        }
        return closed;
    }

  private:
    void Fail() {
        const DWORD error = ::GetLastError();
        if (!m_logged) {
            m_logged = true;
            m_log.Failure(kRunLogFileFailed, m_path, error);
        }
    }

    std::unique_ptr<WriteStream> m_inner;
    RunLog& m_log;
    std::string m_path;
    bool m_logged = false;
};

}  // namespace

bool LoggedFileSystem::CreateDirectory(const std::string& path) {
    const bool made = m_inner.CreateDirectory(path);
    const DWORD error = ::GetLastError();
    if (made) {
        m_log.Event(kRunLogFolderMade, path);
    } else if (error != ERROR_ALREADY_EXISTS) {
        m_log.Failure(kRunLogFolderFailed, path, error);
    }
    return made;
}

std::unique_ptr<ReadStream> LoggedFileSystem::OpenRead(const std::string& path) {
    return m_inner.OpenRead(path);
}

std::unique_ptr<WriteStream> LoggedFileSystem::CreateWrite(const std::string& path) {
    std::unique_ptr<WriteStream> stream = m_inner.CreateWrite(path);
    if (!stream) {
        m_log.Failure(kRunLogFileFailed, path, ::GetLastError());
        return nullptr;
    }
    return std::make_unique<LoggedWriteStream>(std::move(stream), m_log, path);
}

}  // namespace qz
