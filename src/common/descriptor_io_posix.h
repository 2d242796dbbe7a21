// Reading and writing a POSIX file descriptor, again where a signal
// interrupts a call. POSIX only.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qz {

// One read(2) of up to n bytes. The count (0 at the end of the file), or -1 on
// an error (errno tells).
std::int64_t ReadSome(int fd, void* buf, std::size_t n);

// Writes all n bytes, in as many write(2) calls as it takes. False on an error
// (errno tells) or a call that took nothing.
bool WriteAll(int fd, const void* buf, std::size_t n);

}  // namespace qz
