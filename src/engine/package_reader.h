// Reads a package strictly forward, in the order of the file: the header, then
// the directory records one by one, then the data of each entry. Never seeks
// and never reads more than the caller asks for, so nothing after the data
// area is read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/file_system.h"
#include "engine/package_format.h"

namespace qz {

enum class ReadResult {
    kOk,
    kBadVersion,  // header: nVersion is not 1
    kBadMagic,    // header: chMagic is not "QZ" (byte by byte, case counts)
    kShort,       // record: the file ended inside it
    kIoError,     // the stream reported an input/output error
};

class PackageReader {
  public:
    explicit PackageReader(ReadStream& stream) : m_stream(stream) {}

    // Reads up to 28 bytes into a zeroed buffer: when the file is shorter, the
    // missing bytes count as zero and only the check decides. Checks the
    // version, then byte 4, then byte 5. kOk, kBadVersion, kBadMagic or kIoError;
    // *header is filled in every case but kIoError.
    ReadResult ReadHeader(PackageHeader* header);

    // Reads one 264-byte record. kOk, kShort (the file ended first) or kIoError.
    ReadResult ReadEntry(PackageEntry* entry);

    // Reads data: up to min(n, kCopyChunkSize) bytes in one read. Returns the
    // number delivered, 0 when the package has ended, -1 on an I/O error.
    std::int64_t ReadData(void* buf, std::size_t n);

    // Copies data to out as ReadData and a write of what it delivered would
    // (through buf, of kCopyChunkSize bytes, or by the host's own copy: see
    // WriteStream::CopyFrom). Returns the number copied, 0 when the package
    // has ended, kCopyReadFailed or kCopyWriteFailed.
    std::int64_t CopyData(WriteStream& out, void* buf, std::size_t n);

  private:
    // Reads until n bytes or the end; the count delivered, or -1 on an error.
    std::int64_t ReadFull(unsigned char* buf, std::size_t n);

    ReadStream& m_stream;
};

}  // namespace qz
