// Feeds arbitrary bytes to ExtractPackage as data.dat, on an in-memory disk,
// and checks what must hold for any input: nothing lands outside the install
// directory, a refused package leaves no trace, every file is closed, the
// result and the install state agree, and progress stays within its range.
// The same bytes are read as install.log by the uninstaller, and what a
// successful extraction installed is uninstalled again: nothing outside the
// install directory is ever removed, a refused list removes nothing, and an
// installation goes whole but for uninstall.exe.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/extractor.h"
#include "uninstall/removal_plan.h"
#include "support/memory_file_system.h"

namespace {

constexpr char kInstallDir[] = "C:\\Q\\";
constexpr char kInstallKey[] = "C:\\Q";  // the directory as the memory disk keeps it

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// No product running; records progress and checks its order as it comes.
class CheckingUi : public qz::ExtractionUi {
  public:
    bool ProductIsRunning() override { return false; }
    bool AskRunningCopy() override {
        Require(false, "question asked with no product running");
        return false;
    }
    void ShowMessage(const char*) override { ++messages; }
    void SetRange(std::int32_t upper) override {
        Require(ranges == 0, "range set twice");
        Require(upper >= 0, "negative range");
        ++ranges;
        range = upper;
    }
    void SetPosition(std::int32_t p) override {
        Require(ranges == 1, "position before range");
        Require(p > position && p <= range, "position not rising within the range");
        position = p;
    }
    void SetStatus(const std::string& text) override {
        Require(text.compare(0, sizeof kInstallDir - 1, kInstallDir) == 0,
                "status outside the install directory");
    }

    int messages = 0;
    int ranges = 0;
    std::int32_t range = 0;
    std::int32_t position = 0;
};

class QuietUninstallUi : public qz::UninstallUi {
  public:
    bool ProductIsRunning() override { return false; }
    bool AskRunningCopy() override { return false; }
    void SetRange(std::int32_t) override {}
    void SetPosition(std::int32_t) override {}
    void SetStatus(const std::string& text) override {
        Require(text.compare(0, sizeof kInstallDir - 1, kInstallDir) == 0,
                "uninstall status outside the install directory");
    }
};

bool Inside(const std::string& key) {
    return key == kInstallKey || key.compare(0, sizeof kInstallDir - 1, kInstallDir) == 0;
}

// Removes the installation in kInstallDir of `fs`; returns the result.
int Uninstall(qz::MemoryFileSystem& fs, const qz::NameCodePage& names) {
    QuietUninstallUi ui;
    qz::UninstallJob job;
    job.install_dir = kInstallDir;
    job.fs = &fs;
    job.removal = &fs;
    job.names = names;
    job.ui = &ui;
    const std::size_t before = fs.removed().size();
    const int result = qz::RemoveInstallation(job).result;
    Require(fs.open_streams() == 0, "uninstall left a file open");
    for (std::size_t i = before; i < fs.removed().size(); ++i) {
        Require(fs.removed()[i].compare(0, sizeof kInstallDir - 1, kInstallDir) == 0,
                "removed outside the install directory");
    }
    if (result == kUninstallListRefused || result == kUninstallNothingHere) {
        Require(fs.removed().size() == before, "a refused list removed something");
    }
    return result;
}

// The input as install.log, beside a file of the user's (a name no list can
// hold: "?" is refused) and one outside.
void UninstallList(const std::string& log, const qz::NameCodePage& names) {
    qz::MemoryFileSystem fs;
    fs.AddFile("C:\\outside.txt", "x");
    fs.AddFile(std::string(kInstallDir) + "mine?\\user.txt", "x");
    fs.AddFile(std::string(kInstallDir) + "install.log", log);
    Uninstall(fs, names);
    Require(
        fs.HasFile("C:\\outside.txt") && fs.HasFile(std::string(kInstallDir) + "mine?\\user.txt"),
        "a file that was not listed is gone");
}

// One extraction, its names judged in `names`; faults on the target disk are
// chosen from the input's size, so that the same input always takes the same
// path.
void RunOnce(const std::string& package, bool with_faults, const qz::NameCodePage& names) {
    qz::MemoryFileSystem package_fs;
    package_fs.AddFile("data.dat", package);
    qz::MemoryFileSystem fs;
    if (with_faults) {
        fs.FailWriteCall(static_cast<int>(package.size() % 5) + 1);
        package_fs.LimitReads(package.size() % 7 + 1);
    }
    CheckingUi ui;
    std::vector<std::unique_ptr<qz::PackageEntry>> entries;
    std::atomic<int> state{qz::kStateNotStarted};
    int shortcuts = 0;

    qz::ExtractJob job;
    job.install_dir = kInstallDir;
    job.names = names;
    job.fs = &fs;
    job.ui = &ui;
    job.open_package = [&]() { return package_fs.OpenRead("data.dat"); };
    job.entries = &entries;
    job.state = &state;
    job.create_shortcuts = [&]() { ++shortcuts; };

    const int result = qz::ExtractPackage(job);

    Require(result >= qz::kExtractOk && result <= qz::kExtractTruncated, "result out of range");
    Require(result != qz::kExtractAbandoned, "abandoned with the package present");
    Require(fs.open_streams() == 0 && package_fs.open_streams() == 0, "a file left open");
    for (const auto& file : fs.files()) {
        Require(Inside(file.first), "file outside the install directory");
    }
    for (const auto& dir : fs.directories()) {
        Require(Inside(dir), "directory outside the install directory");
    }
    if (result == qz::kExtractOk) {
        Require(state == qz::kStateSucceeded, "success without state 1");
        Require(shortcuts == 1 && ui.messages == 0, "success: shortcuts once, no message");
        Require(entries.empty(), "records kept after success");
        Require(ui.ranges == 1 && ui.position == ui.range, "progress did not reach the end");
        Require(fs.HasFile(std::string(kInstallDir) + "install.log"), "no log after success");
        if (!with_faults) {
            Require(Uninstall(fs, names) == kUninstallRemoved, "an installation not removed");
            for (const auto& file : fs.files()) {
                Require(file.first == std::string(kInstallDir) + "uninstall.exe",
                        "a file of the installation stayed");
            }
        }
    } else {
        Require(state == qz::kStateRunning, "failure left a state other than 3");
        Require(shortcuts == 0 && ui.messages == 1, "failure: one message, no shortcuts");
    }
    if (result == qz::kExtractBadPackage) {
        Require(fs.Untouched(), "a refused package changed the disk");
    }
    // On a disk without faults, what the rules accept is created, unless the
    // path check refused it before the first write.
    if (!with_faults && result == qz::kExtractCreateFailed) {
        Require(fs.Untouched(), "an accepted package failed part-way on a sound disk");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string package(reinterpret_cast<const char*>(data), size);
    RunOnce(package, false, qz::kGbkNames);
    RunOnce(package, true, size % 2 == 0 ? qz::kGbkNames : qz::kWesternNames);
    UninstallList(package, size % 3 == 0 ? qz::kWesternNames : qz::kGbkNames);
    return 0;
}
