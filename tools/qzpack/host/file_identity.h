// Which file a name leads to, as the system tells files apart: the device
// (the volume on Windows) and the file's number there (its inode, its file
// index). Two names with one identity are hard links of one file.
#pragma once

#include <cstdint>

namespace qz::pack {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;

    bool operator==(const FileIdentity& other) const {
        return device == other.device && file == other.file;
    }
    bool operator<(const FileIdentity& other) const {
        return device != other.device ? device < other.device : file < other.file;
    }
};

}  // namespace qz::pack
