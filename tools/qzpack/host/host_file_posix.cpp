#include "qzpack/host/host_file.h"

#include <fcntl.h>
#include <unistd.h>

namespace qz::pack {

std::FILE* OpenHostFile(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::FILE* CreateNewHostFile(const std::filesystem::path& path) {
    // O_EXCL: an existing name, a link included, is an error (EEXIST).
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        close(fd);
        unlink(path.c_str());
    }
    return file;
}

}  // namespace qz::pack
