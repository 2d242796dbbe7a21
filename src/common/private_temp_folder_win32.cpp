#include "common/private_temp_folder_win32.h"

#include <windows.h>

#include <wincrypt.h>

#include <utility>

#include "common/crypt_handles_win32.h"

namespace qz {
namespace {

// How often a fresh name is drawn when the one drawn is taken.
constexpr int kNameAttempts = 16;
constexpr std::size_t kRandomBytes = 8;

// Removes what folder (ending with a backslash) holds, then folder itself.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + name;
            const DWORD attributes = found.dwFileAttributes;
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(path.c_str());
            } else if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                // A folder link: the link goes, what it points at stays.
                ::RemoveDirectoryW(path.c_str());
            } else {
                RemoveTree(path + L'\\');
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.substr(0, folder.size() - 1).c_str());
}

}  // namespace

PrivateTempFolder::~PrivateTempFolder() {
    Remove();
}

PrivateTempFolder::PrivateTempFolder(PrivateTempFolder&& other) noexcept
    : m_path(std::exchange(other.m_path, std::wstring())) {}

PrivateTempFolder& PrivateTempFolder::operator=(PrivateTempFolder&& other) noexcept {
    if (this != &other) {
        Remove();
        m_path = std::exchange(other.m_path, std::wstring());
    }
    return *this;
}

bool PrivateTempFolder::Create() {
    Remove();
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
        ::SetLastError(length == 0 ? ::GetLastError() : ERROR_BUFFER_OVERFLOW);
        return false;
    }
    HCRYPTPROV raw = 0;
    if (!::CryptAcquireContextA(&raw, nullptr, nullptr, PROV_RSA_AES,
                                CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
        return false;
    }
    const UniqueCryptProvider provider(raw);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        BYTE random[kRandomBytes];
        if (!::CryptGenRandom(provider.get(), sizeof random, random)) {
            return false;
        }
        std::wstring path = std::wstring(temp, length) + L"qz";
        for (const BYTE b : random) {
            path += L"0123456789abcdef"[b >> 4];
            path += L"0123456789abcdef"[b & 15];
        }
        if (::CreateDirectoryW(path.c_str(), nullptr)) {
            m_path = path + L'\\';
            return true;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            return false;
        }
    }
    ::SetLastError(ERROR_ALREADY_EXISTS);
    return false;
}

void PrivateTempFolder::Remove() noexcept {
    if (!m_path.empty()) {
        const DWORD error = ::GetLastError();
        try {
            RemoveTree(m_path);
        } catch (...) {
            // Out of memory for a name: what is left stays.
        }
        m_path.clear();
        ::SetLastError(error);
    }
}

}  // namespace qz
