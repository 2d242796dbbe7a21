// The files to pack, opened by their host paths. Consecutive
// files of one folder are looked up from that folder, which stays open,
// rather than level by level from the start of their paths each time.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "common/file_system.h"

namespace qz::pack {

class SourceFiles {
  public:
    SourceFiles();
    ~SourceFiles();
    SourceFiles(const SourceFiles&) = delete;
    SourceFiles& operator=(const SourceFiles&) = delete;

    // Opens the file at path for reading in pieces of the caller's size,
    // straight into the caller's memory; null on failure, or when its last
    // level is now a link (POSIX).
    std::unique_ptr<ReadStream> Open(const std::filesystem::path::string_type& path);

  private:
    // The handle of the folder to look path's last level up from, with *leaf
    // set to that level; or the mark of the current folder, with *leaf set to
    // the whole path, when path has no folder part or its folder cannot be
    // held open.
    int FolderOf(const std::string& path, const char** leaf);

    std::string m_folder;  // the folder held open, as its paths spell it
    int m_folder_fd;       // its handle, or -1
};

}  // namespace qz::pack
