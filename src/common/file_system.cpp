#include "common/file_system.h"

namespace qz {

std::int64_t WriteStream::CopyFrom(ReadStream& source, void* buf, std::size_t n) {
    const std::int64_t got = source.Read(buf, n);
    if (got < 0) {
        return kCopyReadFailed;
    }
    if (got > 0 && !Write(buf, static_cast<std::size_t>(got))) {
        return kCopyWriteFailed;
    }
    return got;
}

}  // namespace qz
