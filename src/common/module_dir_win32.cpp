#include "common/module_dir.h"

#include <windows.h>

#include "common/ansi_code_page.h"
#include "common/constants.h"
#include "common/install_path_rules.h"

namespace qz {

std::string GetModuleDir() {
    char path[kMaxPath] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    // A path that filled the buffer was truncated: its last backslash could
    // belong to a parent folder, so it gives no directory at all.
    const std::string dir =
        DirectoryOf(std::string(path, length < sizeof(path) ? length : 0), IsAnsiLeadByte);
    if (!dir.empty()) {
        ::SetCurrentDirectoryA(dir.c_str());
    }
    return dir;
}

}  // namespace qz
