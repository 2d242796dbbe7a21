// The removal of one installation, over the file layer: the portable heart of
// uninstall.exe. It removes what install.log lists and nothing else, in this
// order:
//   1. each listed file, except uninstall.exe (a link on the way is not
//      followed, what lies behind it stays); one a program holds open is
//      marked for removal at the next restart, and then every folder that
//      holds a marked item after it, so that the restart completes the
//      removal; a marked item counts as removed for what follows;
//   2. the folders the listed names hold, deepest first, each only when empty,
//      so that what the user added stays, with its folders;
//   3. the three shortcuts, each only when its target is this directory's
//      ravik.exe or uninstall.exe (letter case aside), then the Start menu's
//      Qorvane folder when empty; the uninstall shortcut only when nothing
//      was left so far;
//   4. the registry record when its path is this directory, and the entry in
//      the list of installed programs when its InstallLocation is this
//      directory, both only when nothing was left so far;
//   5. install.log when nothing was left. Otherwise install.log is rewritten
//      to list what remains (uninstall.exe included), so that a later run can
//      finish. uninstall.exe and the install directory itself go last, from
//      the working copy once the uninstaller that was started has ended
//      (RemoveUninstaller).
// install.log is read and judged whole before the first removal: a list that
// does not read cleanly removes nothing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/constants.h"
#include "common/file_removal.h"
#include "common/file_system.h"
#include "engine/name_code_page.h"
#include "integration/registry_store.h"
#include "uninstall/install_list.h"
#include "uninstall/uninstall_ui.h"

namespace qz {

struct UninstallJob {
    std::string install_dir;   // the folder of uninstall.exe, ends with a backslash
    FileSystem* fs = nullptr;  // reads install.log and writes it anew
    FileRemoval* removal = nullptr;
    // The code page in which the listed names are judged and split into levels.
    NameCodePage names = kGbkNames;
    // The longest path in bytes the file layer takes (install dir + name).
    std::size_t longest_path = kMaxPath - 1;
    UninstallUi* ui = nullptr;
    // Shortcuts: the desktop and Programs folders as the shell reports them
    // (empty: that folder's links are not looked at), and their reader (null:
    // no link is looked at).
    LinkTargets* links = nullptr;
    std::string desktop_dir;
    std::string programs_dir;
    // The registry the record is in; null: the record is not looked at.
    RegistryStore* registry = nullptr;
};

// Something that stayed, and why.
struct LeftItem {
    std::string path;  // full path, or the record's key
    Removal why = Removal::kFailed;
};

struct UninstallOutcome {
    // kUninstallRemoved ... kUninstallRunningCopy, or kUninstallRestartRequired
    // when nothing stayed but what was marked for the next restart.
    int result = kUninstallRemoved;
    InstallList list;                 // status and line of a refused list
    std::vector<LeftItem> left;       // kUninstallPartly: what stayed
    std::vector<std::string> marked;  // full paths marked for removal at the next restart
    // True when install.log listed uninstall.exe and nothing else stayed:
    // the working copy then removes it and the folder (RemoveUninstaller).
    bool remove_uninstaller = false;
};

// Steps 1 to 5 above, but for uninstall.exe and the install directory.
// Returns kUninstallNothingHere (no install.log), kUninstallListRefused,
// kUninstallRunningCopy (the user did not wait), kUninstallPartly,
// kUninstallRestartRequired or kUninstallRemoved. fs, removal and ui must be set. Throws nothing:
// memory running out while the list is read refuses it.
UninstallOutcome RemoveInstallation(UninstallJob& job) noexcept;

// The last step: uninstall.exe, then the install directory when empty (never
// a drive's root). An uninstall.exe in use is marked for the next restart,
// and so is a directory that still holds a marked item: `marked` (what
// RemoveInstallation marked) gains what is marked here. Returns true when uninstall.exe is gone or
// marked.
bool RemoveUninstaller(FileRemoval& removal, const std::string& install_dir,
                       std::vector<std::string>* marked);

}  // namespace qz
