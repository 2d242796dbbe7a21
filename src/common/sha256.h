// Sha256: the SHA-256 hash, computed by the system (CryptoAPI on Windows); a
// pinned setup program checks its package with it.
#pragma once

#include <array>
#include <cstddef>

namespace qz {

constexpr std::size_t kSha256Size = 32;
using Sha256Digest = std::array<unsigned char, kSha256Size>;

// One hash computation: bytes are added in order, then the digest is taken
// once.
class Sha256 {
  public:
    virtual ~Sha256() = default;
    // Adds n bytes. False when the system could not hash them.
    virtual bool Add(const void* bytes, std::size_t n) = 0;
    // The digest of everything added. False when the system could not give it.
    virtual bool Finish(Sha256Digest* digest) = 0;
};

}  // namespace qz
