#include "qzpack/host/host_file.h"

#include <cerrno>
#include <cstdint>
#include <memory>
#include <string>

#include "common/random_name.h"

namespace qz::pack {
namespace {

// Names tried for a temporary file before giving up: with 48 random bits a
// second try is only needed when someone planted files under random names.
constexpr int kTempNameTries = 16;
constexpr std::size_t kTempNameDigits = 12;

}  // namespace

std::unique_ptr<WriteStream> CreateHostTemp(const std::filesystem::path& path,
                                            std::filesystem::path* made) {
    for (int i = 0; i < kTempNameTries; ++i) {
        *made = path;
        *made += ".part-" + RandomHexDigits(kTempNameDigits);
        std::unique_ptr<WriteStream> file = CreateNewHostWrite(*made);
        if (file) {
            return file;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    made->clear();
    return nullptr;
}

}  // namespace qz::pack
