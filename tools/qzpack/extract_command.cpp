#include <atomic>
#include <vector>

#include "commands.h"
#include "engine/extractor.h"
#include "extract_target.h"
#include "host_file.h"
#include "host_text.h"
#include "terminal_ui.h"

namespace qz::pack {

int RunExtract(const std::filesystem::path& package, const std::filesystem::path& folder,
               Console& console) {
    ExtractTarget target;
    std::string error;
    if (!MakeExtractTarget(folder, &target, &error)) {
        console.err << "qzpack: " << error << '\n';
        return kExtractCreateFailed;
    }
    std::vector<std::unique_ptr<PackageEntry>> entries;
    std::atomic<int> state{kStateNotStarted};
    int result;
    {
        // The bar is finished before the summary is printed.
        TerminalUi ui(console.err, console.progress, target.install_dir);
        ExtractJob job;
        job.install_dir = target.install_dir;
        job.fs = target.fs.get();
        job.ui = &ui;
        job.open_package = [&package]() { return OpenHostRead(package); };
        job.entries = &entries;
        job.state = &state;
        result = ExtractPackage(job);
    }
    if (result == kExtractOk) {
        console.out << "extracted into " << PathForDisplay(folder) << '\n';
    }
    return result;
}

}  // namespace qz::pack
