// The file layer: the only way the install engine touches the disk. Paths are
// narrow GBK strings with backslash separators, exactly as the installer builds
// them; each implementation maps them onto its host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// <windows.h> maps CreateDirectory to CreateDirectoryA; that would rename the
// member below in files that include it. Include <windows.h> before this header.
#ifdef CreateDirectory
#undef CreateDirectory
#endif

namespace qz {

// One open file, read strictly forward.
class ReadStream {
  public:
    virtual ~ReadStream() = default;
    // Reads up to n bytes into buf. Returns the number read (0 only at end of
    // file), or -1 on an I/O error. A short count does not by itself mean the
    // end of the file.
    virtual std::int64_t Read(void* buf, std::size_t n) = 0;
};

// What WriteStream::CopyFrom returns when it failed (a count is never
// negative): the source reported an error, or this file could not take the
// bytes.
constexpr std::int64_t kCopyReadFailed = -1;
constexpr std::int64_t kCopyWriteFailed = -2;

// One file opened for writing; closed by the destructor if not closed before.
class WriteStream {
  public:
    virtual ~WriteStream() = default;
    // Writes all n bytes. False on any failure, a short write included.
    virtual bool Write(const void* buf, std::size_t n) = 0;
    // Copies the next bytes of source, up to n, after what was written: as
    // one source.Read(buf, n) followed by Write of what arrived, buf having
    // room for n bytes, which is what this default does. A host whose system
    // can copy between two open files may do that instead, delivering the
    // same bytes and count. Returns the number copied (0 only when source has
    // ended), kCopyReadFailed or kCopyWriteFailed.
    virtual std::int64_t CopyFrom(ReadStream& source, void* buf, std::size_t n);
    // Flushes and closes. False when data could not be written. Further calls
    // return true.
    virtual bool Close() = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Creates one directory level. False if it was not made (it exists, its
    // parent is missing, or the system refused).
    virtual bool CreateDirectory(const std::string& path) = 0;
    // Opens an existing file for reading, without sharing. Null on failure.
    virtual std::unique_ptr<ReadStream> OpenRead(const std::string& path) = 0;
    // Creates a file or truncates an existing one, for writing, without
    // sharing. Null on failure.
    virtual std::unique_ptr<WriteStream> CreateWrite(const std::string& path) = 0;
};

}  // namespace qz
