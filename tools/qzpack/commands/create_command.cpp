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
#include "qzpack/host/system_error_text.h"
#include "qzpack/terminal/terminal_progress.h"
#include "qzpack/package/tree_scan.h"
#include "qzpack/package/windows_program.h"

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

// The first bytes of a file to pack (windows_program.h); empty when it
// cannot be read.
std::string HeadOf(SourceFiles& files, const PackItem& item) {
    std::string head(kProgramHeadSize, '\0');
    const std::unique_ptr<ReadStream> in = files.Open(item.source, item.relative_at, item.identity);
    std::size_t got = 0;
    while (in && got < head.size()) {
        const std::int64_t n = in->Read(&head[got], head.size() - got);
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    head.resize(got);
    return head;
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
    std::vector<std::string> empty_folders;
    if (!ScanTree(folder, &items, &error, &check, &empty_folders)) {
        console.err << "qzpack: " << error << '\n';
        return kExitRefused;
    }
    std::vector<std::string> names;
    names.reserve(items.size());
    for (const PackItem& item : items) {
        names.push_back(item.name);
    }
    ReviewSources known;
    known.describe = [&items](std::size_t i) { return PathForDisplay(items[i].source); };
    SourceFiles programs(folder);
    for (const std::size_t i : ProgramEntries(names)) {
        known.heads[i] = HeadOf(programs, items[i]);
    }
    PackageReview review = ReviewPackage(names, check, known);
    for (std::string& warning : HardLinkWarnings(items, folder)) {
        review.warnings.push_back(std::move(warning));
    }
    if (!empty_folders.empty()) {
        review.warnings.push_back(std::to_string(empty_folders.size()) +
                                  " folder(s) hold no file and are left out (a package holds "
                                  "files only), the first " +
                                  empty_folders.front());
    }
    if (ReportReview(review, console.strict, console) != kExitOk) {
        return kExitRefused;
    }
    const std::int64_t total = check.total;

    // Written under a new name of its own beside output, renamed at the end.
    fs::path partial;
    std::unique_ptr<WriteStream> out = CreateHostTemp(output, &partial);
    if (!out) {
        console.err << "qzpack: " << PathForDisplay(output)
                    << ": cannot be created: " << LastSystemErrorText() << '\n';
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
    const bool replacing = fs::exists(output, ec);
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
                << PathForDisplay(output)
                << (replacing ? ", replacing the file that was there" : "") << '\n';
    return kExitOk;
}

}  // namespace qz::pack
