#include "engine/package_reader.h"

#include <algorithm>

#include "common/constants.h"

namespace qz {

std::int64_t PackageReader::ReadFull(unsigned char* buf, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const std::int64_t got = m_stream.Read(buf + done, n - done);
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

ReadResult PackageReader::ReadHeader(PackageHeader* header) {
    unsigned char bytes[kHeaderSize] = {};
    // How many bytes arrived is not examined: missing ones stay zero.
    if (ReadFull(bytes, sizeof bytes) < 0) {
        return ReadResult::kIoError;
    }
    *header = DecodeHeader(bytes);
    if (header->nVersion != kPackageVersion) {
        return ReadResult::kBadVersion;
    }
    if (header->chMagic[0] != kPackageMagic0 || header->chMagic[1] != kPackageMagic1) {
        return ReadResult::kBadMagic;
    }
    return ReadResult::kOk;
}

ReadResult PackageReader::ReadEntry(PackageEntry* entry) {
    unsigned char bytes[kEntrySize];
    const std::int64_t got = ReadFull(bytes, sizeof bytes);
    if (got < 0) {
        return ReadResult::kIoError;
    }
    if (got != static_cast<std::int64_t>(sizeof bytes)) {
        return ReadResult::kShort;
    }
    *entry = DecodeEntry(bytes);
    return ReadResult::kOk;
}

std::int64_t PackageReader::ReadData(void* buf, std::size_t n) {
    const std::int64_t got = m_stream.Read(buf, std::min(n, kCopyChunkSize));
    return got < 0 ? -1 : got;
}

std::int64_t PackageReader::CopyData(WriteStream& out, void* buf, std::size_t n) {
    return out.CopyFrom(m_stream, buf, std::min(n, kCopyChunkSize));
}

}  // namespace qz
