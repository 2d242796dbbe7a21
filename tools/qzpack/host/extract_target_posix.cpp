#include "qzpack/host/extract_target.h"

#include <limits>
#include <system_error>

#include "common/file_system_posix.h"
#include "common/texts.h"
#include "qzpack/host/host_text.h"

namespace qz::pack {

bool MakeExtractTarget(const std::filesystem::path& folder, ExtractTarget* target,
                       std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder, ec)) {
        *error = PathForDisplay(folder) + ": cannot be made a folder";
        return false;
    }
    target->fs = std::make_unique<PosixFileSystem>(folder.native());
    // A drive root: three bytes, so that the directory chain starts with the
    // entry's own first level.
    target->install_dir = std::string(kDefaultDriveRoot) + "\\";
    // The drive root stands for the folder itself, and the layer sets no
    // limit of its own below it (a path the system cannot take fails as its
    // file does): every name fits.
    target->longest_path = std::numeric_limits<std::size_t>::max();
    return true;
}

}  // namespace qz::pack
