#include "engine/install_dir_room.h"

#include <algorithm>
#include <cstring>

#include "common/texts.h"

namespace qz {

std::size_t InstallDirRoom(const EntryCheck& check, const PathLimits& limits) {
    const std::size_t file = std::max(check.longest_name, std::strlen(kLogFileName));
    const std::size_t for_files = file < limits.file ? limits.file - file : 0;
    const std::size_t for_folders =
        check.longest_folder < limits.folder ? limits.folder - check.longest_folder : 0;
    return std::min(for_files, for_folders);
}

}  // namespace qz
