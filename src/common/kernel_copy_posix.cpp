#include "common/kernel_copy_posix.h"

#include <errno.h>
#include <unistd.h>

namespace qz {
namespace {

// The kernel's answers that no later call between the same two files would
// change: no such call, files it cannot copy between (a pipe, a descriptor
// opened for appending, another file system or kind of file system).
bool IsLastingRefusal(int error) {
    return error == ENOSYS || error == EXDEV || error == EINVAL || error == EOPNOTSUPP ||
           error == EBADF || error == EPERM || error == ETXTBSY;
}

}  // namespace

std::int64_t DescriptorPosition(ReadStream& source) {
    auto* descriptor_source = dynamic_cast<DescriptorSource*>(&source);
    const int fd = descriptor_source != nullptr ? descriptor_source->PositionedDescriptor() : -1;
    return fd < 0 ? -1 : static_cast<std::int64_t>(lseek(fd, 0, SEEK_CUR));
}

std::int64_t KernelCopy::Copy(ReadStream& source, int out, std::size_t n) {
    auto* descriptor_source = dynamic_cast<DescriptorSource*>(&source);
    if (m_refused || descriptor_source == nullptr || out < 0) {
        return kKernelCopyRefused;
    }
    const int in = descriptor_source->PositionedDescriptor();
    if (in < 0) {
        return kKernelCopyRefused;
    }
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = copy_file_range(in, nullptr, out, nullptr, n - done, 0);
        if (got > 0) {
            done += static_cast<std::size_t>(got);
            continue;
        }
        if (got == 0) {
            break;
        }
        if (errno == EINTR) {
            continue;
        }
        if (done > 0) {
            // What was copied counts; the next call meets the error again.
            break;
        }
        if (IsLastingRefusal(errno)) {
            m_refused = true;
        }
        return kKernelCopyRefused;
    }
    return static_cast<std::int64_t>(done);
}

}  // namespace qz
