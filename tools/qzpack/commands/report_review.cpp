#include "qzpack/commands/report_review.h"

#include <string>

namespace qz::pack {

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
