#include "uninstall/handoff_win32.h"

#include <cstring>

#include "common/constants.h"

namespace qz {
namespace {

constexpr char kMagic[8] = {'Q', 'Z', 'U', 'N', 'I', 'N', 'S', '2'};
// Magic, the silent flag, the parent's and the log's handle values, the
// directory's length.
constexpr std::size_t kFixedSize = sizeof(kMagic) + 4 + 8 + 8 + 4;

void PutU32(std::string* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

std::uint64_t GetLe(const char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

void PutHandle(std::string* out, HANDLE handle) {
    const auto value = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
    PutU32(out, static_cast<std::uint32_t>(value));
    PutU32(out, static_cast<std::uint32_t>(value >> 32));
}

HANDLE GetHandle(const char* bytes) {
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(GetLe(bytes, 8)));
}

bool WriteAll(HANDLE pipe, const std::string& bytes) {
    DWORD written = 0;
    return ::WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

bool SendHandoff(HANDLE pipe, const Handoff& handoff) {
    std::string bytes(kMagic, sizeof(kMagic));
    PutU32(&bytes, handoff.silent ? 1 : 0);
    PutHandle(&bytes, handoff.parent);
    PutHandle(&bytes, handoff.log);
    PutU32(&bytes, static_cast<std::uint32_t>(handoff.install_dir.size()));
    bytes += handoff.install_dir;
    return WriteAll(pipe, bytes);
}

bool ReceiveHandoff(HANDLE pipe, Handoff* handoff) {
    std::string bytes;
    char buffer[512];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) || read == 0) {
            break;
        }
        bytes.append(buffer, read);
        if (bytes.size() > kFixedSize + kMaxPath) {
            return false;
        }
    }
    if (bytes.size() < kFixedSize || std::memcmp(bytes.data(), kMagic, sizeof(kMagic)) != 0) {
        return false;
    }
    const char* fixed = bytes.data() + sizeof(kMagic);
    const std::uint64_t silent = GetLe(fixed, 4);
    const std::uint64_t length = GetLe(fixed + 20, 4);
    if (silent > 1 || length != bytes.size() - kFixedSize || length == 0 || length >= kMaxPath) {
        return false;
    }
    std::string dir = bytes.substr(kFixedSize);
    if (dir.back() != '\\' || dir.find('\0') != std::string::npos) {
        return false;
    }
    handoff->install_dir = std::move(dir);
    handoff->silent = silent == 1;
    handoff->parent = GetHandle(fixed + 4);
    handoff->log = GetHandle(fixed + 12);
    return true;
}

bool SendOutcome(HANDLE pipe, std::uint32_t outcome) {
    std::string bytes;
    PutU32(&bytes, outcome);
    return WriteAll(pipe, bytes);
}

bool ReceiveOutcome(HANDLE pipe, std::uint32_t* outcome) {
    char bytes[4];
    DWORD have = 0;
    while (have < sizeof(bytes)) {
        DWORD read = 0;
        if (!::ReadFile(pipe, bytes + have, sizeof(bytes) - have, &read, nullptr) || read == 0) {
            return false;
        }
        have += read;
    }
    *outcome = static_cast<std::uint32_t>(GetLe(bytes, 4));
    return true;
}

}  // namespace qz
