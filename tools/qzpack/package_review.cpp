#include "package_review.h"

#include <algorithm>
#include <cstring>

#include "common/constants.h"
#include "common/texts.h"
#include "host_text.h"

namespace qz::pack {
namespace {

std::string Entry(const std::vector<std::string>& names, std::size_t index) {
    return "entry " + std::to_string(index) + " (" + GbkForDisplay(names[index]) + ")";
}

}  // namespace

PackageReview ReviewPackage(const std::vector<std::string>& names, const EntryCheck& check) {
    PackageReview review;
    for (const CaseTwin& twin : check.case_twins) {
        review.warnings.push_back(Entry(names, twin.later) + " differs from " +
                                  Entry(names, twin.earlier) +
                                  " only in letter case: on Windows it replaces that file");
    }

    std::size_t longest = std::strlen(kLogFileName);
    for (const std::string& name : names) {
        longest = std::max(longest, name.size());
    }
    for (const char* program : {kAppExe, kUninstallExe, kToolbarExe, kBrowserSetupExe}) {
        // Folding keeps the length: only names of the program's length are
        // folded and compared.
        const std::string wanted = FoldCase(program);
        const bool present =
            std::any_of(names.begin(), names.end(), [&wanted](const std::string& name) {
                return name.size() == wanted.size() && FoldCase(name) == wanted;
            });
        if (!present) {
            review.warnings.push_back(
                GbkForDisplay(program) +
                " is missing: the installer links to it or offers to start it");
        }
    }

    const std::size_t longest_path = kMaxPath - 1;
    review.room = longest < longest_path ? longest_path - longest : 0;
    const std::size_t usual = std::strlen(kUsualInstallDir);
    if (review.room < usual) {
        review.warnings.push_back("the longest name leaves room for install directories of " +
                                  std::to_string(review.room) + " bytes, less than the " +
                                  std::to_string(usual) + " of " + GbkForDisplay(kUsualInstallDir));
    }
    return review;
}

int ReportReview(const PackageReview& review, bool strict, Console& console) {
    console.out << "room: install directories of up to " << review.room
                << " bytes keep every path within 259 bytes\n";
    for (const std::string& warning : review.warnings) {
        console.err << "qzpack: warning: " << warning << '\n';
    }
    if (strict && !review.warnings.empty()) {
        console.err << "qzpack: refused under --strict: " << review.warnings.size()
                    << " warning(s)\n";
        return kExitRefused;
    }
    return kExitOk;
}

}  // namespace qz::pack
