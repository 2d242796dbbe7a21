#include "qzpack/package/package_review.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "common/constants.h"
#include "common/dbcs.h"
#include "common/texts.h"
#include "qzpack/host/host_text.h"
#include "qzpack/package/name_check_text.h"

namespace qz::pack {
namespace {

std::string Entry(const std::vector<std::string>& names, std::size_t index) {
    return "entry " + std::to_string(index) + " (" + GbkForDisplay(names[index]) + ")";
}

// True when a GBK trail byte 0x5C in the name would be a separator under a
// single-byte code page, so that the levels split differently there.
bool SplitsOtherwiseInSingleBytes(const std::string& name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (IsGbkLeadByte(static_cast<unsigned char>(name[i])) && ++i < name.size() &&
            name[i] == '\\') {
            return true;
        }
    }
    return false;
}

// Why the installer, reading names in code page 1252, refuses the whole
// package: empty when it accepts it, or when the refused name is one of
// those told of already (split_told).
std::string WesternRefusal(const std::vector<std::string>& names,
                           const std::vector<bool>& split_told) {
    std::vector<std::unique_ptr<PackageEntry>> records;
    records.reserve(names.size());
    for (const std::string& name : names) {
        records.push_back(std::make_unique<PackageEntry>());
        std::memcpy(records.back()->szName, name.c_str(), name.size() + 1);
    }
    const EntryCheck there = ValidateDirectory(records, kWesternNames);
    if (there.status == DirectoryCheck::kOk ||
        (there.status == DirectoryCheck::kBadName && split_told[there.bad_index])) {
        return "";
    }
    return DirectoryFaultText(records, there);
}

}  // namespace

PackageReview ReviewPackage(const std::vector<std::string>& names, const EntryCheck& check) {
    PackageReview review;
    for (const CaseTwin& twin : check.case_twins) {
        review.warnings.push_back(Entry(names, twin.later) + " differs from " +
                                  Entry(names, twin.earlier) +
                                  " only in letter case: on Windows it replaces that file");
    }

    std::vector<bool> split(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        split[i] = SplitsOtherwiseInSingleBytes(names[i]);
        if (!split[i]) {
            continue;
        }
        const NameCheck there =
            CheckEntryName(names[i].c_str(), names[i].size() + 1, kWesternNames);
        review.warnings.push_back(
            Entry(names, i) +
            " holds a double-byte character ending in 5C: under a single-byte code page (1252) "
            "that byte is a backslash and its levels split otherwise" +
            (there == NameCheck::kOk ? std::string()
                                     : std::string(", where the installer refuses it: the name ") +
                                           NameCheckText(there)));
    }

    const std::string western = WesternRefusal(names, split);
    if (!western.empty()) {
        review.warnings.push_back(
            "under a single-byte code page (1252) the installer refuses the package: " + western);
    }

    const std::size_t longest = std::max(check.longest_name, std::strlen(kLogFileName));
    for (const char* program : {kAppExe, kUninstallExe, kToolbarExe, kBrowserSetupExe}) {
        // A name that folds to the program's has its length: only names of
        // that length are compared.
        const std::string wanted = program;
        const bool present =
            std::any_of(names.begin(), names.end(), [&wanted](const std::string& name) {
                return name.size() == wanted.size() && SameName(name, wanted);
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

}  // namespace qz::pack
