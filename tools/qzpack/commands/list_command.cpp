#include <cstdio>

#include "qzpack/commands/commands.h"
#include "engine/entry_rules.h"
#include "qzpack/host/host_file.h"
#include "qzpack/host/host_text.h"
#include "qzpack/package/package_directory.h"

namespace qz::pack {

int RunList(const std::filesystem::path& package, Console& console) {
    std::unique_ptr<ReadStream> stream = OpenHostRead(package);
    if (!stream) {
        console.err << "qzpack: " << PathForDisplay(package) << ": cannot be opened\n";
        return kExitRefused;
    }
    PackageReader reader(*stream);
    const PackageDirectory directory = ReadPackageDirectory(reader);
    std::int64_t total = 0;
    for (std::size_t i = 0; i < directory.entries.size(); ++i) {
        const PackageEntry& entry = *directory.entries[i];
        char columns[48];
        std::snprintf(columns, sizeof columns, "%6llu %12lld  ", static_cast<unsigned long long>(i),
                      static_cast<long long>(entry.nSize));
        console.out << columns << GbkForDisplay(EntryName(entry)) << '\n';
        total += EffectiveSize(entry);
    }
    const std::string problem = DirectoryProblem(directory);
    if (!problem.empty()) {
        console.err << "qzpack: " << PathForDisplay(package) << ": " << problem << '\n';
        return kExitRefused;
    }
    console.out << "total " << total << " bytes in " << directory.entries.size() << " entries\n";
    return kExitOk;
}

}  // namespace qz::pack
