#include "integration/uninstall_entry_win32.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "common/ansi_code_page.h"
#include "common/install_dir.h"
#include "common/texts.h"
#include "integration/uninstall_entry.h"

namespace qz {

bool RecordUninstallEntry(RegistryStore& store, std::int64_t packageBytes) noexcept {
    try {
        const std::string uninstaller = g_strInstallDir + kUninstallExe;
        const DWORD attributes = ::GetFileAttributesA(uninstaller.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return false;
        }
        SYSTEMTIME today{};
        ::GetLocalTime(&today);
        char date[16] = {};
        std::snprintf(date, sizeof(date), "%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
        return WriteUninstallEntry(store, g_strInstallDir, packageBytes, date, IsAnsiLeadByte);
    } catch (...) {
        // Only for want of memory: the entry is not written.
        return false;
    }
}

}  // namespace qz
