// What an installation leaves behind, read the way Windows programs read it:
// the registry (32-bit view, where the installer's record belongs), shortcut
// files through the shell's link object, the user's special folders.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

namespace robot {

struct RegValue {
    bool present = false;
    DWORD type = 0;
    std::string bytes;  // the stored bytes, terminating NUL included
};

// A value under HKEY_LOCAL_MACHINE in the 32-bit registry view.
RegValue ReadMachineValue(const std::string& key, const std::string& name);
bool MachineKeyExists(const std::string& key);
// Removes a key tree under HKEY_LOCAL_MACHINE (32-bit view), if present.
void DeleteMachineKey(const std::string& key);

struct Shortcut {
    bool loaded = false;
    std::string target;
    std::string workingDirectory;
    std::string description;       // through IShellLinkA: in the ANSI code page
    std::wstring wideDescription;  // through IShellLinkW
};
Shortcut ReadShortcut(const std::string& lnkPath);

// The current user's folders, without a trailing backslash.
std::string DesktopFolder();
std::string ProgramsFolder();

// Everything an installation could touch, to show that a cancelled wizard
// touched nothing.
struct Footprint {
    std::map<std::string, std::int64_t> setupDir;
    std::map<std::string, std::int64_t> desktop;
    std::map<std::string, std::int64_t> programs;
    std::map<std::string, std::int64_t> installDir;
    bool vendorKey = false;
};
Footprint TakeFootprint(const std::string& setupDir, const std::string& installDir);
void CheckUntouched(const Footprint& before, const Footprint& after);

// The product's registry key and the vendor key above it.
extern const char kProductKey[];
extern const char kVendorKey[];

}  // namespace robot
