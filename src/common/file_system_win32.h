// The file layer on Windows: GBK paths are passed to the ANSI functions as they
// stand (CreateFileA, CreateDirectoryA), files are opened without sharing.
// Windows only; the header itself needs no Windows headers.
#pragma once

#include "common/file_system.h"

namespace qz {

class Win32FileSystem : public FileSystem {
  public:
    bool CreateDirectory(const std::string& path) override;
    std::unique_ptr<ReadStream> OpenRead(const std::string& path) override;
    std::unique_ptr<WriteStream> CreateWrite(const std::string& path) override;
};

}  // namespace qz
