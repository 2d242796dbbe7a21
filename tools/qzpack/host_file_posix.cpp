#include "host_file.h"

namespace qz::pack {

std::FILE* OpenHostFile(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

}  // namespace qz::pack
