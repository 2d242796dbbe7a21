#include "qzpack/host/host_file.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <string>

namespace qz::pack {

std::FILE* OpenHostFile(const std::filesystem::path& path, const char* mode) {
    const std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wide_mode.c_str());
}

std::FILE* CreateNewHostFile(const std::filesystem::path& path) {
    // _O_EXCL asks the system to create a new file (CREATE_NEW): any existing
    // name, a link or other reparse point included, is an error (EEXIST).
    const int fd =
        _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) {
        _close(fd);
        _wremove(path.c_str());
    }
    return file;
}

}  // namespace qz::pack
