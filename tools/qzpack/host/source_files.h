// The files to pack, read as they were scanned. Each file is opened from the
// folder that was scanned, held open, one level after another, and no level
// is a link followed: a folder of the payload swapped for a link since the
// scan cannot lead the reading out of it. The file opened must be a regular
// file and the very one the scan measured (the same identity), or it is not
// read. Consecutive files of one folder are looked up from that folder,
// which stays open.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "qzpack/host/file_identity.h"

namespace qz::pack {

class SourceFiles {
  public:
    using String = std::filesystem::path::string_type;

    // root: the folder that was scanned, opened on first use.
    explicit SourceFiles(std::filesystem::path root);
    ~SourceFiles();
    SourceFiles(const SourceFiles&) = delete;
    SourceFiles& operator=(const SourceFiles&) = delete;

    // Opens the file whose levels below the root are path from relative_at
    // on, for reading in pieces of the caller's size, straight into the
    // caller's memory. Null when it cannot be opened, when a level is now a
    // link (or another reparse point), or when what is found there is no
    // regular file or not the file of identity; a FIFO is never waited on.
    std::unique_ptr<ReadStream> Open(const String& path, std::size_t relative_at,
                                     const FileIdentity& identity);

  private:
    class Folders;

    std::filesystem::path m_root;
    std::unique_ptr<Folders> m_folders;  // the root and the folder held open
};

}  // namespace qz::pack
