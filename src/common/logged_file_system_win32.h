// LoggedFileSystem: a file layer that hands every call on to another and
// writes what happened to a RunLog: each folder made, each file written
// (once it is closed whole), each failure with the system's error code. A
// folder that exists already is no event. Windows only.
#pragma once

#include "common/run_log_win32.h"

#include "common/file_system.h"

namespace qz {

class LoggedFileSystem final : public FileSystem {
  public:
    // `inner` and `log` must outlive this object and every stream it opens.
    LoggedFileSystem(FileSystem& inner, RunLog& log) : m_inner(inner), m_log(log) {}

    bool CreateDirectory(const std::string& path) override;
    std::unique_ptr<ReadStream> OpenRead(const std::string& path) override;
    std::unique_ptr<WriteStream> CreateWrite(const std::string& path) override;

  private:
    FileSystem& m_inner;
    RunLog& m_log;
};

}  // namespace qz
