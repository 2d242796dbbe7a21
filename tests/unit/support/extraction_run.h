// One extraction in memory: data.dat in a package file system of its own, the
// install directory in another, a recording user interface.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "engine/extractor.h"
#include "support/memory_file_system.h"
#include "support/recording_ui.h"

namespace qz::test {

struct ExtractionRun {
    MemoryFileSystem package_fs;  // holds data.dat, when the test puts it there
    MemoryFileSystem fs;          // the target disk
    RecordingUi ui;
    std::vector<std::unique_ptr<PackageEntry>> entries;
    std::atomic<int> state{kStateNotStarted};
    int shortcut_calls = 0;
    int state_at_shortcuts = -1;
    int package_opens = 0;
    ExtractJob job;

    explicit ExtractionRun(std::string install_dir = "C:\\Q\\");
    // Puts the package bytes in place as data.dat.
    void SetPackage(const std::string& bytes);
    // Runs the worker (ExtractPackage, then state 2 on failure).
    int Run();
    // The log, or "" when it does not exist.
    std::string Log() const;
};

}  // namespace qz::test
