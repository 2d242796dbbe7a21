#include <system_error>
#include <vector>

#include "commands.h"
#include "host_file.h"
#include "host_text.h"
#include "package_review.h"
#include "package_writer.h"
#include "source_files.h"
#include "terminal_progress.h"
#include "tree_scan.h"

namespace qz::pack {
namespace {

namespace fs = std::filesystem;

// True when path is folder or lies below it (both made absolute; links in
// the existing part resolved).
bool IsInside(const fs::path& path, const fs::path& folder) {
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    const fs::path f = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    auto pi = p.begin();
    for (auto fi = f.begin(); fi != f.end(); ++fi, ++pi) {
        if (fi->empty()) {
            continue;  // the empty last level of a path ending in a separator
        }
        if (pi == p.end() || *pi != *fi) {
            return false;
        }
    }
    return true;
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
    if (ReportReview(ReviewPackage(names, check), console.strict, console) != kExitOk) {
        return kExitRefused;
    }
    const std::int64_t total = check.total;

    fs::path partial = output;
    partial += ".part";
    std::unique_ptr<WriteStream> out = CreateHostWrite(partial);
    if (!out) {
        console.err << "qzpack: " << PathForDisplay(partial) << ": cannot be created\n";
        return kExitRefused;
    }
    bool written;
    {
        TerminalProgress progress(console.err, console.progress);
        progress.SetTotal(total);
        SourceFiles sources;
        written = WritePackage(
            items, *out, [&sources](const PackItem& item) { return sources.Open(item.source); },
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
