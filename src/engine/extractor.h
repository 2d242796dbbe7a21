// ExtractPackage: unpacks data.dat into the install directory, writes
// install.log and reports progress; the portable heart of the progress page's
// worker.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/constants.h"
#include "common/file_system.h"
#include "engine/extraction_ui.h"
#include "engine/name_code_page.h"
#include "engine/package_format.h"

namespace qz {

// What ExtractPackage returns: 0 on success, a failure code 1-4 otherwise.
enum ExtractResult : int {
    kExtractOk = 0,
    kExtractAbandoned = 1,     // running copy not closed (no message), or data.dat not opened
    kExtractBadPackage = 2,    // header or directory refused; nothing written
    kExtractCreateFailed = 3,  // a file could not be created, written or closed
    kExtractTruncated = 4,     // the package ended early or could not be read
};

// The install state: the progress page's m_nInstallState, handed to the finish
// page as m_nResult. Both fields stay ints holding these values.
enum InstallState : int {
    kStateNotStarted = 0,  // also while the running-copy question is open
    kStateSucceeded = 1,   // install.log closed after the last file
    kStateFailed = 2,      // failed or abandoned
    kStateRunning = 3,     // set before data.dat is opened
};

struct ExtractJob {
    std::string install_dir;  // ends with a backslash
    FileSystem* fs = nullptr;
    // The code page in which the names are judged and install_dir + a name is
    // split into the directory levels to create: the one the file layer's
    // host reads paths in (the Win32 program: the system's ANSI code page).
    NameCodePage names = kGbkNames;
    // The longest path in bytes that the file layer creates: install_dir and
    // the longest name (or install.log) must fit, or nothing is written.
    std::size_t longest_path = kMaxPath - 1;
    // The same for a folder: install_dir and the longest folder of a name.
    std::size_t longest_folder = kMaxFolderPath - 1;
    ExtractionUi* ui = nullptr;
    // Makes the setup directory current and opens data.dat; null on failure.
    std::function<std::unique_ptr<ReadStream>()> open_package;
    // The result when open_package gives no package: 1 (data.dat not opened,
    // the format message), or 3 when open_package sets kExtractCreateFailed
    // here (a private copy of the package could not be made: the create-file
    // message).
    ExtractResult package_failure = kExtractAbandoned;
    // The page's m_arrEntries (owner): cleared before the directory is read,
    // filled in directory order, cleared after success, left as read on failure.
    std::vector<std::unique_ptr<PackageEntry>>* entries = nullptr;
    // The page's m_nInstallState: 3 is set before data.dat is opened, 1 after
    // install.log is closed.
    std::atomic<int>* state = nullptr;
    // Called after success; may be empty; its outcome does not matter.
    std::function<void()> create_shortcuts;
};

// Runs the extraction and returns an ExtractResult. fs, ui, entries and state
// must be set. The whole directory is checked before anything is written
// (ValidateDirectory): a package that would write outside the install
// directory, or name a file Windows cannot create, is refused with the format
// message (2); one whose longest path or folder would not fit below
// install_dir (InstallDirRoom), with the create-file message (3). Every failure shows its message
// (format or create-file) before returning, every file is closed by then, and nothing written is
// removed. Throws nothing: an exhausted memory counts as a create failure (3).
ExtractResult ExtractPackage(ExtractJob& job) noexcept;

// ExtractPackage, then state 2 when the result is not 0, as the progress
// page's worker does: the unattended mode's whole installation.
ExtractResult RunInstallWorker(ExtractJob& job) noexcept;

}  // namespace qz
