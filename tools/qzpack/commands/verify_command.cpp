#include <map>
#include <vector>

#include "qzpack/commands/commands.h"
#include "common/constants.h"
#include "engine/entry_rules.h"
#include "qzpack/host/host_file.h"
#include "qzpack/host/host_text.h"
#include "qzpack/package/name_check_text.h"
#include "qzpack/package/package_directory.h"
#include "qzpack/commands/report_review.h"
#include "qzpack/package/package_review.h"

namespace qz::pack {
namespace {

std::string Describe(const PackageDirectory& directory, std::size_t i) {
    return DescribeEntry(directory.entries, i);
}

// Notes on what the installer accepts but may surprise: they do not make the
// package invalid.
void PrintNotes(const PackageDirectory& directory, std::int64_t trailing, Console& console) {
    std::map<std::string, std::size_t> first_with_name;
    for (std::size_t i = 0; i < directory.entries.size(); ++i) {
        const PackageEntry& entry = *directory.entries[i];
        if (entry.nSize < 0) {
            console.out << "note: " << Describe(directory, i) << " has size " << entry.nSize
                        << ": it installs as an empty file\n";
        }
        const auto [first, added] = first_with_name.emplace(EntryName(entry), i);
        if (!added) {
            console.out << "note: " << Describe(directory, i) << " has the name of entry "
                        << first->second << ": it replaces that file\n";
        }
    }
    if (trailing > 0) {
        console.out << "note: " << trailing << " bytes after the data area are ignored\n";
    }
}

}  // namespace

int RunVerify(const std::filesystem::path& package, Console& console) {
    const std::string where = "qzpack: " + PathForDisplay(package) + ": ";
    std::unique_ptr<ReadStream> stream = OpenHostRead(package);
    if (!stream) {
        console.err << where << "cannot be opened\n";
        return kExitRefused;
    }
    PackageReader reader(*stream);
    const PackageDirectory directory = ReadPackageDirectory(reader);
    const std::string problem = DirectoryProblem(directory);
    if (!problem.empty()) {
        const bool io_error = directory.header_result == ReadResult::kIoError ||
                              directory.entries_result == ReadResult::kIoError;
        console.err << where << (io_error ? "" : "invalid: ") << problem << '\n';
        return kExitRefused;
    }
    const EntryCheck check = ValidateDirectory(directory.entries);
    if (check.status != DirectoryCheck::kOk) {
        console.err << where << "invalid: " << DirectoryFaultText(directory.entries, check) << '\n';
        return kExitRefused;
    }

    std::vector<char> buffer(kCopyChunkSize);
    for (std::size_t i = 0; i < directory.entries.size(); ++i) {
        const std::int64_t size = EffectiveSize(*directory.entries[i]);
        std::int64_t present = 0;
        while (present < size) {
            const std::int64_t got = reader.ReadData(
                buffer.data(), static_cast<std::size_t>(std::min<std::int64_t>(
                                   size - present, static_cast<std::int64_t>(buffer.size()))));
            if (got < 0) {
                console.err << where << "read error in the data of " << Describe(directory, i)
                            << '\n';
                return kExitRefused;
            }
            if (got == 0) {
                console.err << where << "invalid: the data area ends inside "
                            << Describe(directory, i) << ": " << present << " of " << size
                            << " bytes present\n";
                return kExitRefused;
            }
            present += got;
        }
    }
    // Past the data area the installer reads nothing; count it for the note.
    std::int64_t trailing = 0;
    for (std::int64_t got; (got = stream->Read(buffer.data(), buffer.size())) > 0;) {
        trailing += got;
    }
    PrintNotes(directory, trailing, console);
    std::vector<std::string> names;
    names.reserve(directory.entries.size());
    for (const auto& entry : directory.entries) {
        names.push_back(EntryName(*entry));
    }
    if (ReportReview(ReviewPackage(names, check), console.strict, console) != kExitOk) {
        return kExitRefused;
    }
    console.out << "valid: " << directory.entries.size() << " entries, " << check.total
                << " bytes\n";
    return kExitOk;
}

}  // namespace qz::pack
