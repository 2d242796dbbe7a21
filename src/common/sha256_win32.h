// SHA-256 from the system: CryptoAPI of advapi32 (an AES provider, which
// hashes with CALG_SHA_256), so nothing is loaded from the program's folder.
// Windows only; the header needs no Windows headers.
#pragma once

#include <memory>

#include "common/sha256.h"

namespace qz {

// A fresh hash computation, or null when the system cannot hash (no provider,
// no SHA-256).
std::unique_ptr<Sha256> CreateSystemSha256();

}  // namespace qz
