// CreateShortcuts: the application's shortcuts on the desktop and in a
// Qorvane folder of the Programs menu, with the uninstaller's shortcut beside
// the latter. Windows only; the header needs no Windows headers.
#pragma once

#include <cstdint>
#include <string>

namespace qz {

// Told of each shortcut CreateShortcuts tried to save.
class ShortcutReport {
  public:
    virtual ~ShortcutReport() = default;
    // `link` (in the system's ANSI code page) was saved when `result` is 0;
    // otherwise `result` is the failure's HRESULT.
    virtual void Saved(const std::string& link, std::int32_t result) = 0;
};

// Writes the three shortcuts for g_strInstallDir, for the current user:
// desktop\Qorvane.lnk and Programs\Qorvane\Qorvane.lnk to kAppExe,
// Programs\Qorvane\卸载.lnk to kUninstallExe, each starting in the install
// directory. Runs on the calling thread (it enters COM there). A shortcut
// whose path or target does not fit kMaxPath, or whose special folder cannot
// be resolved, is skipped; an existing file of the same name is replaced.
// Returns 1 when the link objects cannot be made (nothing is written then,
// no folder created), otherwise 0 once every save was attempted; failed saves
// are reported only to `report`, when given, which hears of every save
// attempted. Throws nothing.
int CreateShortcuts(ShortcutReport* report = nullptr) noexcept;

}  // namespace qz
