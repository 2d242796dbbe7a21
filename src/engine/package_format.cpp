#include "engine/package_format.h"

#include <cstring>

namespace qz {
namespace {

std::int32_t GetInt32(const unsigned char* p) {
    const std::uint32_t u =
        static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
        static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    // Two's complement, without relying on an implementation-defined cast.
    return u <= 0x7FFFFFFFu ? static_cast<std::int32_t>(u) : -static_cast<std::int32_t>(~u) - 1;
}

void PutInt32(std::int32_t value, unsigned char* p) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<unsigned char>(u >> (8 * i));
    }
}

}  // namespace

PackageHeader DecodeHeader(const unsigned char* bytes) {
    PackageHeader header{};
    header.nVersion = GetInt32(bytes);
    std::memcpy(header.chMagic, bytes + 4, sizeof header.chMagic);
    std::memcpy(header.reserved, bytes + 6, sizeof header.reserved);
    header.nEntryCount = GetInt32(bytes + 24);
    return header;
}

PackageEntry DecodeEntry(const unsigned char* bytes) {
    PackageEntry entry{};
    entry.nSize = GetInt32(bytes);
    std::memcpy(entry.szName, bytes + 4, sizeof entry.szName);
    return entry;
}

void EncodeHeader(const PackageHeader& header, unsigned char* bytes) {
    PutInt32(header.nVersion, bytes);
    std::memcpy(bytes + 4, header.chMagic, sizeof header.chMagic);
    std::memcpy(bytes + 6, header.reserved, sizeof header.reserved);
    PutInt32(header.nEntryCount, bytes + 24);
}

void EncodeEntry(const PackageEntry& entry, unsigned char* bytes) {
    PutInt32(entry.nSize, bytes);
    std::memcpy(bytes + 4, entry.szName, sizeof entry.szName);
}

}  // namespace qz
