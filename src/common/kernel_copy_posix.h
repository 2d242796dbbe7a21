// Copies between two open files by the kernel (copy_file_range), so that the
// bytes never pass through the program's memory. POSIX only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/file_system.h"

namespace qz {

// A stream that can hand its descriptor to a copy by the kernel.
class DescriptorSource {
  public:
    // The descriptor, standing at the stream's own position (any bytes read
    // ahead into a buffer are given back first), or -1 when it cannot be
    // (then the stream is read as ever).
    virtual int PositionedDescriptor() = 0;

  protected:
    ~DescriptorSource() = default;
};

// The position of source's descriptor (as PositionedDescriptor leaves it), or
// -1 when source is no DescriptorSource or the position cannot be told.
std::int64_t DescriptorPosition(ReadStream& source);

// What KernelCopy returns when the kernel copied nothing and the caller must
// read and write instead.
constexpr std::int64_t kKernelCopyRefused = -3;

// A copy into one descriptor, remembering a refusal that will not change.
class KernelCopy {
  public:
    // Copies up to n bytes from source, when it is a DescriptorSource, into
    // out, both at their positions, which move on: until n bytes or the end
    // of source, as a read of a file answers. Returns the count (0 at the
    // end), or kKernelCopyRefused when nothing was copied: the kernel cannot
    // copy between these two (another file system, a pipe, an old kernel:
    // never asked again) or failed this once (an input/output error, a full
    // disk), which a read and a write will then tell apart.
    std::int64_t Copy(ReadStream& source, int out, std::size_t n);

  private:
    bool m_refused = false;
};

}  // namespace qz
