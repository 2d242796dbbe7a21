#include "qzpack/package/package_directory.h"

#include <cstring>

#include "qzpack/host/host_text.h"

namespace qz::pack {

PackageDirectory ReadPackageDirectory(PackageReader& reader) {
    PackageDirectory directory;
    directory.header_result = reader.ReadHeader(&directory.header);
    if (directory.header_result != ReadResult::kOk) {
        return directory;
    }
    for (std::int32_t i = 0; i < directory.header.nEntryCount; ++i) {
        auto entry = std::make_unique<PackageEntry>();
        directory.entries_result = reader.ReadEntry(entry.get());
        if (directory.entries_result != ReadResult::kOk) {
            break;
        }
        directory.entries.push_back(std::move(entry));
    }
    return directory;
}

std::string DirectoryProblem(const PackageDirectory& directory) {
    switch (directory.header_result) {
        case ReadResult::kOk:
            break;
        case ReadResult::kBadVersion:
            return "the header's version is " + std::to_string(directory.header.nVersion) +
                   ", not 1";
        case ReadResult::kBadMagic:
            return "the header's magic is " +
                   GbkForDisplay(std::string(directory.header.chMagic, 2)) + ", not QZ";
        case ReadResult::kShort:
            return "the header is incomplete";
        case ReadResult::kIoError:
            return "read error in the header";
    }
    const std::string position = "entry " + std::to_string(directory.entries.size()) + " of " +
                                 std::to_string(directory.header.nEntryCount);
    switch (directory.entries_result) {
        case ReadResult::kOk:
            return "";
        case ReadResult::kShort:
            return "the directory ends inside " + position;
        case ReadResult::kIoError:
            return "read error in " + position;
        case ReadResult::kBadVersion:
        case ReadResult::kBadMagic:
            break;
    }
    return "unreadable directory";
}

std::string EntryName(const PackageEntry& entry) {
    const void* nul = std::memchr(entry.szName, '\0', sizeof entry.szName);
    const std::size_t length =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - entry.szName)
                       : sizeof entry.szName;
    return std::string(entry.szName, length);
}

}  // namespace qz::pack
