#include "common/random_name.h"

#include <cstdint>
#include <random>

namespace qz {

std::string RandomHexDigits(std::size_t count) {
    static const char kHex[] = "0123456789abcdef";
    std::random_device random;
    std::string digits;
    digits.reserve(count);
    while (digits.size() < count) {
        std::uint32_t bits = random();
        for (int digit = 0; digit < 6 && digits.size() < count; ++digit, bits >>= 4) {
            digits += kHex[bits & 0xF];
        }
    }
    return digits;
}

}  // namespace qz
