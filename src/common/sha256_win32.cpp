#include "common/sha256_win32.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "common/crypt_handles_win32.h"

namespace qz {
namespace {

// CryptHashData takes a DWORD count; larger pieces are added in parts.
constexpr std::size_t kMaxHashPiece = 1u << 30;

class CryptoSha256 : public Sha256 {
  public:
    CryptoSha256(UniqueCryptProvider provider, UniqueCryptHash hash)
        : m_provider(std::move(provider)), m_hash(std::move(hash)) {}

    bool Add(const void* bytes, std::size_t n) override {
        const auto* p = static_cast<const BYTE*>(bytes);
        while (n > 0) {
            const std::size_t piece = std::min(n, kMaxHashPiece);
            if (!::CryptHashData(m_hash.get(), p, static_cast<DWORD>(piece), 0)) {
                return false;
            }
            p += piece;
            n -= piece;
        }
        return true;
    }

    bool Finish(Sha256Digest* digest) override {
        DWORD length = static_cast<DWORD>(digest->size());
        return ::CryptGetHashParam(m_hash.get(), HP_HASHVAL, digest->data(), &length, 0) &&
               length == digest->size();
    }

  private:
    // The provider outlives its hash: members are destroyed in reverse order.
    UniqueCryptProvider m_provider;
    UniqueCryptHash m_hash;
};

}  // namespace

std::unique_ptr<Sha256> CreateSystemSha256() {
    HCRYPTPROV raw_provider = 0;
    if (!::CryptAcquireContextA(&raw_provider, nullptr, nullptr, PROV_RSA_AES,
                                CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
        return nullptr;
    }
    UniqueCryptProvider provider(raw_provider);
    HCRYPTHASH raw_hash = 0;
    if (!::CryptCreateHash(provider.get(), CALG_SHA_256, 0, 0, &raw_hash)) {
        return nullptr;
    }
    return std::make_unique<CryptoSha256>(std::move(provider), UniqueCryptHash(raw_hash));
}

}  // namespace qz
