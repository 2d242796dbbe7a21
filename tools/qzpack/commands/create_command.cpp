#include <system_error>
#include <vector>

#include "qzpack/commands/commands.h"
#include "qzpack/host/host_file.h"
#include "qzpack/host/host_text.h"
#include "qzpack/commands/report_review.h"
#include "qzpack/package/package_review.h"
#include "qzpack/package/package_writer.h"
#include "qzpack/host/path_within.h"
#include "qzpack/host/source_files.h"
#include "qzpack/terminal/terminal_progress.h"
#include "qzpack/package/tree_scan.h"

namespace qz::pack {
namespace {

namespace fs = std::filesystem;

// True when path is folder or lies below it (both made absolute; links in
// the existing part resolved).
bool IsInside(const fs::path& path, const fs::path& folder) {
    std::error_code ec;
    return IsWithin(fs::weakly_canonical(fs::absolute(path, ec), ec),
                    fs::weakly_canonical(fs::absolute(folder, ec), ec));
}

}  // namespace

int RunCreate(const fs::path& folder, const fs::path& output, Console& console) {
    if (IsInside(output, folder)) {
        console.err << "qzpack: " << PathForDisplay(output) << ": the package must lie outside "
                    << PathForDisplay(folder) << '\n';
        return kExitUsage;
    }
    std::vector<PackItem> items;
    std::string error;
    EntryCheck check;
    if (!ScanTree(folder, &items, &error, &check)) {
        console.err << "qzpack: " << error << '\n';
        return kExitRefused;
    }
    std::vector<std::string> names;
    names.reserve(items.size());
    for (const PackItem& item : items) {
        names.push_back(item.name);
    }
    PackageReview review = ReviewPackage(names, check);
    for (std::string& warning : HardLinkWarnings(items, folder)) {
        review.warnings.push_back(std::move(warning));
    }
    if (ReportReview(review, console.strict, console) != kExitOk) {
        return kExitRefused;
    }
    const std::int64_t total = check.total;

    // Written under a new name of its own beside output, renamed at the end.
    fs::path partial;
    std::unique_ptr<WriteStream> out = CreateHostTemp(output, &partial);
    if (!out) {
        console.err << "qzpack: " << PathForDisplay(output) << ".part-*: cannot be created\n";
        return kExitRefused;
    }
    bool written;
    {
        TerminalProgress progress(console.err, console.progress);
        progress.SetTotal(total);
        SourceFiles sources(folder);
        written = WritePackage(
            items, *out,
            [&sources](const PackItem& item) {
                return sources.Open(item.source, item.relative_at, item.identity);
            },
            [&progress](std::int64_t done) { progress.SetDone(done); }, &error);
    }
    if (written && !out->Close()) {
        written = false;
        error = "cannot write the package";
    }
    out.reset();
    std::error_code ec;
    if (written) {
        fs::rename(partial, output, ec);
        if (ec) {
            written = false;
            error = PathForDisplay(output) + ": cannot be replaced: " + ec.message();
        }
    }
    if (!written) {
        fs::remove(partial, ec);
        console.err << "qzpack: " << error << '\n';
        return kExitRefused;
    }
    console.out << items.size() << " files, " << total << " bytes packed into "
                << PathForDisplay(output) << '\n';
    return kExitOk;
}

}  // namespace qz::pack
