// LoggedFileRemoval: a removal layer that hands every call on to another and
// writes what happened to a RunLog: each file, shortcut and folder removed,
// each item left alone and why, each refusal with the system's error code,
// each item marked for removal at the next restart. Inspect is no event.
// Windows only.
#pragma once

#include "common/run_log_win32.h"

#include <string>
#include <utility>

#include "common/file_removal.h"

namespace qz {

class LoggedFileRemoval final : public FileRemoval {
  public:
    // `inner` must leave the system's error code of a refusal as the
    // thread's last error. A file outside `install_dir` (a folder ending with
    // a backslash) is logged as a shortcut. `inner` and `log` must outlive
    // this object.
    LoggedFileRemoval(FileRemoval& inner, RunLog& log, std::string install_dir)
        : m_inner(inner), m_log(log), m_installDir(std::move(install_dir)) {}

    Removal RemoveFile(const std::string& root, const std::string& name) override;
    Removal RemoveFolder(const std::string& root, const std::string& name) override;
    ItemKind Inspect(const std::string& root, const std::string& name) override {
        return m_inner.Inspect(root, name);
    }
    bool MarkForRestart(const std::string& root, const std::string& name) override;

  private:
    // One line for `removal` of `path`; `removed` labels the success.
    Removal Logged(Removal removal, const std::string& path, const char* removed);

    FileRemoval& m_inner;
    RunLog& m_log;
    const std::string m_installDir;
};

}  // namespace qz
