// Every fixed text of the program, in GBK at run time (the sources are UTF-8;
// the build converts narrow literals). Texts are byte-exact: a message box, the
// log and the registry show exactly these bytes.
#pragma once

namespace qz {

// The product, its version and the names the installer writes or looks for.
extern const char kProductName[];           // "Qorvane": folders, shortcuts, running-copy title
extern const char kPageCaption[];           // caption of the host and of every page
extern const char kProductVersion[];        // the "ver" registry value
extern const char kRegistryKeyPath[];       // under HKEY_LOCAL_MACHINE
extern const char kRegistryValueVer[];      // "ver"
extern const char kRegistryValuePath[];     // "path"
extern const char kPackageFileName[];       // "data.dat", beside the setup executable
extern const char kLogFileName[];           // "install.log", in the install directory
extern const char kLogLineFormat[];         // "[FILE] %s\r\n"
extern const char kProgramFilesVariable[];  // "ProgramFiles"
extern const char kDefaultDriveRoot[];      // "C:"

// The product's entry in the system's list of installed programs, under
// HKEY_LOCAL_MACHINE, and the names of its values.
extern const char kUninstallEntryKeyPath[];  // "Software\...\CurrentVersion\Uninstall\Qorvane"
extern const char kPublisherName[];          // "Tarnwell": the maker the record's key names
extern const char kQuietUninstallOption[];   // " /S", after the quoted uninstaller
extern const char kEntryDisplayName[];
extern const char kEntryDisplayVersion[];
extern const char kEntryPublisher[];
extern const char kEntryInstallLocation[];
extern const char kEntryDisplayIcon[];
extern const char kEntryUninstallString[];
extern const char kEntryQuietUninstallString[];
extern const char kEntryEstimatedSize[];  // REG_DWORD, KiB
extern const char kEntryInstallDate[];    // YYYYMMDD
extern const char kEntryNoModify[];       // REG_DWORD 1
extern const char kEntryNoRepair[];       // REG_DWORD 1

// The unattended run's log (/LOG=FILE): the label of each line.
extern const char kRunLogCommandLine[];  // the whole command line follows
extern const char kRunLogInstallDir[];   // the install directory follows
extern const char kRunLogInvalidDir[];   // the directory refused follows
extern const char kRunLogFolderMade[];   // a path follows, then likewise:
extern const char kRunLogFolderFailed[];
extern const char kRunLogFileWritten[];
extern const char kRunLogFileFailed[];
extern const char kRunLogPackageFailed[];
extern const char kRunLogShortcutWritten[];
extern const char kRunLogShortcutFailed[];
extern const char kRunLogValueWritten[];  // key\name = value follows
extern const char kRunLogValueFailed[];
extern const char kRunLogKeyFailed[];
extern const char kRunLogValueRemoved[];
extern const char kRunLogValueNotRemoved[];
extern const char kRunLogKeyRemoved[];
extern const char kRunLogKeyNotRemoved[];
extern const char kRunLogFileRemoved[];  // a path follows, then likewise:
extern const char kRunLogShortcutRemoved[];
extern const char kRunLogFolderRemoved[];
extern const char kRunLogNotRemoved[];
extern const char kRunLogMissing[];
extern const char kRunLogKeptNotEmpty[];
extern const char kRunLogKeptLink[];
extern const char kRunLogKeptOther[];
extern const char kRunLogMarked[];
extern const char kRunLogNotMarked[];
extern const char kRunLogRunningCopy[];           // a running copy stopped the installation
extern const char kRunLogUninstallRunningCopy[];  // a running copy stopped the removal
extern const char kRunLogMessage[];               // the message the wizard would show follows
extern const char kRunLogError[];                 // before the system's error code
extern const char kRunLogExitCode[];              // the exit code follows

// Installed programs, relative to the install directory.
extern const char kAppExe[];           // "ravik.exe"
extern const char kUninstallExe[];     // "uninstall.exe"
extern const char kToolbarExe[];       // "data\pendrel.exe"
extern const char kBrowserSetupExe[];  // "data\skelmot\setup.exe"

// The usual install directory on a 64-bit Windows, for the package tool's
// check that every file's path fits below it.
extern const char kUsualInstallDir[];  // "C:\Program Files (x86)\Qorvane\"

// Shortcuts.
extern const char kDesktopShortcutName[];        // "\Qorvane.lnk", appended to the desktop folder
extern const char kProgramsAppShortcutFormat[];  // "%s\Qorvane\Qorvane.lnk"
extern const char kProgramsUninstallShortcutFormat[];  // "%s\Qorvane\卸载.lnk"
extern const char kAppShortcutDescription[];           // "Qorvane"
extern const char kUninstallShortcutDescription[];     // "卸载"

// Install-directory page.
extern const char kBrowseTitle[];           // title inside the folder browser
extern const char kMsgInvalidPath[];        // MB_OK
extern const char kMsgConfirmPathFormat[];  // MB_YESNO | MB_ICONINFORMATION, one %s

// Progress page and extraction.
extern const char kMsgRunningCopy[];   // MB_OKCANCEL
extern const char kMsgFormat[];        // MB_OK: the package is damaged or missing
extern const char kMsgCreateFile[];    // MB_OK: a file cannot be created or written
extern const char kMsgCloseRefusal[];  // MB_OK: closing while extracting

// Finish page.
extern const char kFinishFailedHeadline[];  // "安装失败"

// The uninstaller (uninstall.exe).
extern const char kUninstallCaption[];            // caption of its progress window
extern const char kUninstallMutexName[];          // the object that marks an uninstaller running
extern const char kUninstallCopyOption[];         // the working copy's one argument
extern const char kMsgUninstallConfirm[];         // MB_YESNO | MB_ICONQUESTION
extern const char kMsgUninstallBusy[];            // MB_OK: another uninstaller runs
extern const char kMsgUninstallRunningCopy[];     // MB_OKCANCEL
extern const char kMsgUninstallDone[];            // MB_OK | MB_ICONINFORMATION
extern const char kMsgUninstallNothingHere[];     // MB_OK: no install.log
extern const char kMsgUninstallListRefused[];     // MB_OK: install.log refused
extern const char kMsgUninstallNoWorkingCopy[];   // MB_OK: its working copy did not start
extern const char kMsgUninstallLeftHeading[];     // MB_OK, followed by the items that stayed
extern const char kMsgUninstallRestartHeading[];  // MB_OK, followed by the items marked
extern const char kMsgUninstallRestartLast[];     // after them: a restart completes it
extern const char kUninstallLeftInUse[];          // after an item the system refused
extern const char kUninstallLeftAtRestart[];      // after an item marked for the restart
extern const char kUninstallLeftLink[];           // after an item behind a link
extern const char kUninstallLeftOther[];          // after an item of another kind
extern const char kUninstallLeftMore[];           // the last line when not all are shown

// The licence agreement: CR LF line ends, one final CR LF.
extern const char kLicenseText[];

}  // namespace qz
