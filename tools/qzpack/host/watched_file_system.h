// A file layer that passes every call to another and remembers the first
// file it could not create, write or close, with the system's error text
// taken at the moment of the failure.
#pragma once

#include <memory>
#include <string>

#include "common/file_system.h"

namespace qz::pack {

struct FileFailure {
    std::string path;   // GBK, as the extraction named it; empty when none failed
    std::string error;  // the system's words
};

class WatchedFileSystem : public FileSystem {
  public:
    explicit WatchedFileSystem(FileSystem& inner) : m_inner(inner) {}

    bool CreateDirectory(const std::string& path) override { return m_inner.CreateDirectory(path); }
    std::unique_ptr<ReadStream> OpenRead(const std::string& path) override {
        return m_inner.OpenRead(path);
    }
    std::unique_ptr<WriteStream> CreateWrite(const std::string& path) override;

    const FileFailure& failure() const { return m_failure; }
    // Records a failure of path now, unless one was recorded before.
    void Fail(const std::string& path);

  private:
    FileSystem& m_inner;
    FileFailure m_failure;
};

}  // namespace qz::pack
