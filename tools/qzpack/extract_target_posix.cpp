#include "extract_target.h"

#include <system_error>

#include "common/file_system_posix.h"
#include "common/texts.h"
#include "engine/package_format.h"
#include "host_text.h"

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
    // The drive root stands for the folder itself: every name fits below it.
    target->longest_path = target->install_dir.size() + kNameSize - 1;
    target->longest_folder = target->longest_path;
    return true;
}

}  // namespace qz::pack
