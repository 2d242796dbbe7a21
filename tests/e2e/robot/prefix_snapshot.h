// A snapshot of the Wine prefix as a Windows program sees it: every folder and
// file under C:\ (files with their size and a hash of their bytes, links not
// followed) and every key and value under HKEY_LOCAL_MACHINE\Software in the
// 32-bit view but for Software\Classes (the file types, untouched by the
// product). The user's desktop and Programs folders lie under C:\ too. Two
// snapshots compared show what an installation and its removal left behind.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace robot {

struct PrefixSnapshot {
    // "D C:\x", "F C:\x\y.txt", "K Software\x", "V Software\x\name" -> what
    // it holds (size and hash; type and bytes).
    std::map<std::string, std::string> items;
};

// Takes the snapshot; folders whose path begins with one of `skip` (as given,
// letter case aside) are left out with everything below them.
PrefixSnapshot TakePrefixSnapshot(const std::vector<std::string>& skip);

// The differences, one line each: "+ item" (new), "- item" (gone), "~ item"
// (changed). Empty when equal.
std::vector<std::string> CompareSnapshots(const PrefixSnapshot& before,
                                          const PrefixSnapshot& after);

// The folders a test leaves out: the robot's own working folders (C:\qz-e2e\)
// and the user's temporary folder (the uninstaller's working copy waits there
// for the next restart, see PendingRemovals).
std::vector<std::string> RobotsOwnFolders();

// The paths the system removes at its next start
// (PendingFileRenameOperations), in the system's code page.
std::vector<std::string> PendingRemovals();

}  // namespace robot
