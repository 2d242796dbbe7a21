#include "support/extraction_run.h"

namespace qz::test {

ExtractionRun::ExtractionRun(std::string install_dir) {
    job.install_dir = std::move(install_dir);
    job.fs = &fs;
    job.ui = &ui;
    job.open_package = [this]() {
        ++package_opens;
        return package_fs.OpenRead("data.dat");
    };
    job.entries = &entries;
    job.state = &state;
    job.create_shortcuts = [this]() {
        ++shortcut_calls;
        state_at_shortcuts = state.load();
    };
}

void ExtractionRun::SetPackage(const std::string& bytes) {
    package_fs.AddFile("data.dat", bytes);
}

int ExtractionRun::Run() {
    return RunInstallWorker(job);
}

std::string ExtractionRun::Log() const {
    return fs.FileContents(job.install_dir + "install.log");
}

}  // namespace qz::test
