// Move-only owners of the two CryptoAPI handle kinds: a provider context
// (released with CryptReleaseContext) and a hash object (destroyed with
// CryptDestroyHash). Both kinds are ULONG_PTR values, 0 meaning none; the
// releasing function tells the owners apart. Windows only.
#pragma once

#include <windows.h>

#include <wincrypt.h>

#include <utility>

template <typename Release>
class UniqueCryptHandle {
  public:
    UniqueCryptHandle() = default;
    explicit UniqueCryptHandle(ULONG_PTR handle) : m_handle(handle) {}
    ~UniqueCryptHandle() { reset(); }
    UniqueCryptHandle(UniqueCryptHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, 0)) {}
    UniqueCryptHandle& operator=(UniqueCryptHandle&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.m_handle, 0));
        }
        return *this;
    }
    UniqueCryptHandle(const UniqueCryptHandle&) = delete;
    UniqueCryptHandle& operator=(const UniqueCryptHandle&) = delete;

    explicit operator bool() const { return m_handle != 0; }
    ULONG_PTR get() const { return m_handle; }
    void reset(ULONG_PTR handle = 0) {
        if (m_handle != 0) {
            Release{}(m_handle);
        }
        m_handle = handle;
    }

  private:
    ULONG_PTR m_handle = 0;
};

struct ReleaseCryptProvider {
    void operator()(HCRYPTPROV provider) const { ::CryptReleaseContext(provider, 0); }
};
struct DestroyCryptHash {
    void operator()(HCRYPTHASH hash) const { ::CryptDestroyHash(hash); }
};

using UniqueCryptProvider = UniqueCryptHandle<ReleaseCryptProvider>;
using UniqueCryptHash = UniqueCryptHandle<DestroyCryptHash>;
