#include "qzpack/package/package_review.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "common/constants.h"
#include "common/dbcs.h"
#include "common/texts.h"
#include "engine/install_dir_room.h"
#include "qzpack/host/host_text.h"
#include "qzpack/package/name_check_text.h"
#include "qzpack/package/windows_program.h"

namespace qz::pack {
namespace {

constexpr const char* kPrograms[] = {kAppExe, kUninstallExe, kToolbarExe, kBrowserSetupExe};

// The index of the last entry named program (letter case aside), or
// names.size() when there is none. A name that folds to the program's has
// its length: only names of that length are compared.
std::size_t LastNamed(const std::vector<std::string>& names, const std::string& program) {
    std::size_t found = names.size();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].size() == program.size() && SameName(names[i], program)) {
            found = i;
        }
    }
    return found;
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

std::vector<std::size_t> ProgramEntries(const std::vector<std::string>& names) {
    std::vector<std::size_t> entries;
    for (const char* program : kPrograms) {
        const std::size_t i = LastNamed(names, program);
        if (i < names.size()) {
            entries.push_back(i);
        }
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

PackageReview ReviewPackage(const std::vector<std::string>& names, const EntryCheck& check,
                            const ReviewSources& sources) {
    PackageReview review;
    for (const CaseTwin& twin : check.case_twins) {
        review.warnings.push_back(sources.describe(twin.later) + " differs from " +
                                  sources.describe(twin.earlier) +
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
            sources.describe(i) +
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

    for (const char* program : kPrograms) {
        const std::size_t i = LastNamed(names, program);
        if (i == names.size()) {
            review.warnings.push_back(
                GbkForDisplay(program) +
                " is missing: the installer links to it or offers to start it");
            continue;
        }
        const auto head = sources.heads.find(i);
        if (head == sources.heads.end() || !IsWindowsProgram(head->second)) {
            review.warnings.push_back(
                sources.describe(i) +
                " is not a Windows program for x86 or x64 (an MZ header leading to a PE "
                "signature): the installer starts it or links to it");
        }
    }

    review.room = InstallDirRoom(check, PathLimits());
    const std::size_t usual = std::strlen(kUsualInstallDir);
    if (review.room < usual) {
        review.warnings.push_back("the longest name leaves room for install directories of " +
                                  std::to_string(review.room) + " bytes, less than the " +
                                  std::to_string(usual) + " of " + GbkForDisplay(kUsualInstallDir));
    }
    return review;
}

}  // namespace qz::pack
