#include "engine/package_pin.h"

#include <vector>

#include "common/constants.h"

namespace qz {

PackagePin DecodePin(const PinRecord& record) {
    PackagePin pin;
    for (int i = 7; i >= 0; --i) {
        pin.size = pin.size << 8 | record.size[i];
    }
    for (std::size_t i = 0; i < kSha256Size; ++i) {
        pin.digest[i] = record.digest[i];
    }
    return pin;
}

PinCheck CheckPackagePin(const PackagePin& pin, std::uint64_t file_size, ReadStream& stream,
                         Sha256* hash) {
    if (file_size != pin.size) {
        return PinCheck::kSizeDiffers;
    }
    if (hash == nullptr) {
        return PinCheck::kCannotHash;
    }
    std::vector<unsigned char> buffer(kPinReadSize);
    std::uint64_t read = 0;
    for (;;) {
        const std::int64_t got = stream.Read(buffer.data(), buffer.size());
        if (got < 0) {
            return PinCheck::kUnreadable;
        }
        if (got == 0) {
            break;
        }
        if (!hash->Add(buffer.data(), static_cast<std::size_t>(got))) {
            return PinCheck::kCannotHash;
        }
        read += static_cast<std::uint64_t>(got);
    }
    if (read != pin.size) {
        return PinCheck::kSizeDiffers;
    }
    Sha256Digest digest;
    if (!hash->Finish(&digest)) {
        return PinCheck::kCannotHash;
    }
    return digest == pin.digest ? PinCheck::kMatch : PinCheck::kDigestDiffers;
}

}  // namespace qz
