#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "qzpack/commands/commands.h"
#include "common/texts.h"
#include "engine/entry_rules.h"
#include "engine/extractor.h"
#include "qzpack/host/extract_target.h"
#include "qzpack/host/host_file.h"
#include "qzpack/host/host_text.h"
#include "qzpack/package/name_check_text.h"
#include "qzpack/host/system_error_text.h"
#include "qzpack/terminal/terminal_ui.h"
#include "qzpack/host/watched_file_system.h"

namespace qz::pack {
namespace {

// The entry a path under install_dir belongs to, as the terminal shows it.
std::string EntryOfPath(const std::string& path, const std::string& install_dir) {
    const bool inside = path.compare(0, install_dir.size(), install_dir) == 0;
    return GbkForDisplay(inside ? path.substr(install_dir.size()) : path);
}

// What the publisher needs besides the installer's message: which entry,
// and why, as far as the run can tell.
std::string FailureDetail(int result, const ExtractTarget& target,
                          const std::vector<std::unique_ptr<PackageEntry>>& entries,
                          const WatchedFileSystem& files, const TerminalUi& ui,
                          const std::string& open_error) {
    switch (result) {
        case kExtractAbandoned:
            return "the package cannot be opened: " + open_error;
        case kExtractBadPackage: {
            const EntryCheck check = ValidateDirectory(entries, target.names);
            return check.status != DirectoryCheck::kOk
                       ? DirectoryFaultText(entries, check)
                       : "the header or the directory is incomplete or refused";
        }
        case kExtractCreateFailed: {
            // The path check before the first write, told apart.
            const std::size_t longest = std::max(
                ValidateDirectory(entries, target.names).longest_name, std::strlen(kLogFileName));
            if (target.install_dir.size() + longest > target.longest_path) {
                return "a name of " + std::to_string(longest) + " bytes below " +
                       GbkForDisplay(target.install_dir) + " makes a path longer than " +
                       std::to_string(target.longest_path) + " bytes; nothing was written";
            }
            if (!files.failure().path.empty()) {
                return "entry " + EntryOfPath(files.failure().path, target.install_dir) + ": " +
                       files.failure().error;
            }
            return "out of memory";
        }
        case kExtractTruncated:
            return "entry " + EntryOfPath(ui.status(), target.install_dir) +
                   ": the package ends inside its data, or cannot be read";
        default:
            break;
    }
    return "failed";
}

}  // namespace

int RunExtract(const std::filesystem::path& package, const std::filesystem::path& folder,
               Console& console) {
    ExtractTarget target;
    std::string error;
    if (!MakeExtractTarget(folder, &target, &error)) {
        console.err << "qzpack: " << error << '\n';
        return kExitRefused;
    }
    WatchedFileSystem files(*target.fs);
    std::vector<std::unique_ptr<PackageEntry>> entries;
    std::atomic<int> state{kStateNotStarted};
    std::string open_error;
    int result;
    std::string detail;
    {
        // The bar is finished before the summary is printed.
        TerminalUi ui(console.err, console.progress, target.install_dir);
        ExtractJob job;
        job.install_dir = target.install_dir;
        job.longest_path = target.longest_path;
        job.names = target.names;
        job.fs = &files;
        job.ui = &ui;
        job.open_package = [&package, &open_error]() {
            std::unique_ptr<ReadStream> stream = OpenHostRead(package);
            if (!stream) {
                open_error = LastSystemErrorText();
            }
            return stream;
        };
        job.entries = &entries;
        job.state = &state;
        result = ExtractPackage(job);
        if (result != kExtractOk) {
            detail = FailureDetail(result, target, entries, files, ui, open_error);
        }
    }
    if (result != kExtractOk) {
        console.err << "qzpack: " << PathForDisplay(package) << ": " << detail << '\n';
        return kExitRefused;
    }
    console.out << "extracted into " << PathForDisplay(folder) << '\n';
    return kExitOk;
}

}  // namespace qz::pack
