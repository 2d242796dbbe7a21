// Fixed sizes, limits and exit codes shared by every subsystem.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qz {

// Every fixed buffer that holds a path is this long, terminating NUL included.
constexpr std::size_t kMaxPath = 260;
// CreateDirectoryA makes no folder whose path, its final backslash included,
// does not fit in this many bytes with a terminating NUL: room is left for
// an 8.3 name below it.
constexpr std::size_t kMaxFolderPath = 248;
// Windows file names: one level holds at most this many characters.
constexpr std::size_t kMaxLevelCharacters = 255;
// The default-path buffer of the install-directory page.
constexpr std::size_t kDefaultPathBufferSize = 300;
// The extraction copies each file in pieces of at most this many bytes.
constexpr std::size_t kCopyChunkSize = 30720;
// A pinned setup program reads its package for the hash in pieces of this
// many bytes.
constexpr std::size_t kPinReadSize = 1u << 18;
// Registry string values longer than this many bytes are refused.
constexpr std::size_t kRegistryValueLimit = 254;
// The sum of all entry sizes is carried as a signed 32-bit value.
constexpr std::int64_t kMaxPackageTotal = 2147483647;
// GBK, the code page of the product's texts and package names.
constexpr unsigned kGbkCodePage = 936;
// The code page of the program's fixed texts: the build compiles every narrow
// literal to GBK, whatever code page the user's system runs.
constexpr unsigned kTextCodePage = kGbkCodePage;

}  // namespace qz

// Exit codes of the unattended mode (Install.exe /S). The wizard exits with 0.
enum UnattendedExit : int {
    kExitInstalled = 0,
    kExitNoPackage = 1,         // data.dat missing or unreadable
    kExitRefusedPackage = 2,    // the package's format or names were refused
    kExitCreateFailed = 3,      // a file could not be created or written
    kExitTruncated = 4,         // the package ended early or could not be read
    kExitRunningCopy = 5,       // a running copy is open: no file written
    kExitInvalidDirectory = 6,  // the install directory is not valid
    kExitUnknownOption = 7,     // an unknown option after /S
    kExitLogFailed = 8,         // the /LOG= file cannot be created: nothing done
};

// Exit codes of the uninstaller (uninstall.exe /S), and the outcome its working
// copy reports. The interactive uninstaller exits with 0.
enum UninstallExit : int {
    kUninstallRemoved = 0,        // everything listed, the shortcuts and the record removed
    kUninstallNothingHere = 1,    // no install.log beside uninstall.exe: nothing installed here
    kUninstallListRefused = 2,    // install.log refused: nothing removed
    kUninstallPartly = 3,         // some items could not be removed (install.log lists them)
    kUninstallNoWorkingCopy = 4,  // its working copy could not be made or started: nothing removed
    kUninstallRunningCopy = 5,  // a running copy (a window titled Qorvane) is open: nothing removed
    kUninstallBusy = 6,         // another uninstaller is running: nothing removed
    kUninstallUnknownOption = 7,  // an unknown option: nothing removed
    kUninstallLogFailed = 8,      // the /LOG= file cannot be created: nothing removed
    // Removed, but files in use are marked for removal at the next restart;
    // management tools count it as a success that wants a restart.
    kUninstallRestartRequired = 3010,
};
