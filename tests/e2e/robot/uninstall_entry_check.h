// The product's entry in the list of installed programs (HKEY_LOCAL_MACHINE,
// 32-bit view), read with the wide registry functions as Settings and the
// package managers read it, whatever the system's code page.
#pragma once

#include <cstdint>
#include <string>

namespace robot {

extern const char kUninstallEntryKey[];

// Every value of the entry for `installDir` (UTF-16, ending with a
// backslash) and a package of `packageBytes`: the texts, the quoted
// uninstaller with and without /S, the size in KiB, today's date, NoModify
// and NoRepair; and the uninstaller that UninstallString names, opened by the
// path as read, is the installed file.
void CheckUninstallEntry(const std::wstring& installDir, std::int64_t packageBytes);

// The REG_SZ value `name` of the entry, read wide; empty when absent.
std::wstring ReadUninstallEntryText(const wchar_t* name);

// `text` in the robot's ANSI code page.
std::string Narrow(const std::wstring& text);

// The entry's key is absent.
void CheckNoUninstallEntry(const std::string& what);

}  // namespace robot
