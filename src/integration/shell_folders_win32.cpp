#include "integration/shell_folders_win32.h"

#include <windows.h>
#include <shlobj.h>

#include "common/constants.h"
#include "framework/item_list.h"

namespace qz {

std::string SpecialFolderPath(int csidl) {
    char buffer[kMaxPath] = {};
    LPITEMIDLIST raw = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, &raw))) {
        return std::string();
    }
    const UniqueItemList list(raw);
    if (!list || !::SHGetPathFromIDListA(list.get(), buffer)) {
        return std::string();
    }
    buffer[kMaxPath - 1] = '\0';
    return buffer;
}

}  // namespace qz
