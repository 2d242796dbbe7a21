#include "engine/pinned_package_win32.h"

#include <windows.h>

#include <utility>

#include "common/read_stream_win32.h"
#include "common/sha256_win32.h"
#include "common/unique_handle_win32.h"

namespace qz {
namespace {

// What a refused package hands the reader: the end of the file at once.
class RefusedPackage : public ReadStream {
  public:
    std::int64_t Read(void*, std::size_t) override { return 0; }
};

}  // namespace

std::unique_ptr<ReadStream> OpenPinnedPackage(const char* path, const PackagePin& pin) {
    UniqueHandle handle(::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        return nullptr;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle.get(), &size)) {
        return std::make_unique<RefusedPackage>();
    }
    auto package = std::make_unique<Win32ReadStream>(std::move(handle));
    const std::unique_ptr<Sha256> hash = CreateSystemSha256();
    if (CheckPackagePin(pin, static_cast<std::uint64_t>(size.QuadPart), *package, hash.get()) !=
        PinCheck::kMatch) {
        return std::make_unique<RefusedPackage>();
    }
    // The one seek of the program: the extraction reads the very bytes that
    // were hashed, through the same handle. Opening data.dat a second time
    // could meet another file put there in between.
    const LARGE_INTEGER start{};
    if (!::SetFilePointerEx(package->handle(), start, nullptr, FILE_BEGIN)) {
        return std::make_unique<RefusedPackage>();
    }
    return package;
}

}  // namespace qz
