#include "qzpack/host/source_files.h"

#include "qzpack/host/host_file.h"

namespace qz::pack {

// On Windows every file is reached by its whole path: no folder is held open.
SourceFiles::SourceFiles() : m_folder_fd(-1) {}

SourceFiles::~SourceFiles() = default;

std::unique_ptr<ReadStream> SourceFiles::Open(const std::filesystem::path::string_type& path) {
    return OpenHostRead(path);
}

}  // namespace qz::pack
