#include "common/descriptor_io_posix.h"

#include <errno.h>
#include <unistd.h>

namespace qz {

std::int64_t ReadSome(int fd, void* buf, std::size_t n) {
    for (;;) {
        const ssize_t got = read(fd, buf, n);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

bool WriteAll(int fd, const void* buf, std::size_t n) {
    const char* p = static_cast<const char*>(buf);
    while (n > 0) {
        const ssize_t put = write(fd, p, n);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        p += put;
        n -= static_cast<std::size_t>(put);
    }
    return true;
}

}  // namespace qz
