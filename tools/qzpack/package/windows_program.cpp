#include "qzpack/package/windows_program.h"

#include <cstdint>

namespace qz::pack {
namespace {

constexpr std::size_t kNewHeaderOffsetAt = 0x3C;
constexpr std::uint32_t kMachineX86 = 0x014C;
constexpr std::uint32_t kMachineX64 = 0x8664;
constexpr std::string_view kPeSignature("PE\0\0", 4);

// The little-endian number of width bytes at head[at] (within head).
std::uint32_t LittleEndian(std::string_view head, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(head[at + i]);
    }
    return value;
}

}  // namespace

bool IsWindowsProgram(std::string_view head) {
    if (head.size() < kNewHeaderOffsetAt + 4 || head.substr(0, 2) != "MZ") {
        return false;
    }
    const std::size_t pe = LittleEndian(head, kNewHeaderOffsetAt, 4);
    if (pe > head.size() || head.size() - pe < kPeSignature.size() + 2 ||
        head.substr(pe, kPeSignature.size()) != kPeSignature) {
        return false;
    }
    const std::uint32_t machine = LittleEndian(head, pe + kPeSignature.size(), 2);
    return machine == kMachineX86 || machine == kMachineX64;
}

}  // namespace qz::pack
