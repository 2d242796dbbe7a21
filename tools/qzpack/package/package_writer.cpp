#include "qzpack/package/package_writer.h"

#include <cstring>

#include "common/constants.h"
#include "engine/package_format.h"
#include "qzpack/host/host_text.h"

namespace qz::pack {
namespace {

constexpr std::size_t kCopyBufferSize = 128 * 1024;

std::string Describe(const PackItem& item) {
    return GbkForDisplay(item.name);
}

bool CheckItems(const std::vector<PackItem>& items, std::string* error) {
    if (items.size() > static_cast<std::size_t>(INT32_MAX)) {
        *error = "too many files for one package";
        return false;
    }
    std::int64_t total = 0;
    for (const PackItem& item : items) {
        if (item.name.empty() || item.name.size() >= kNameSize ||
            item.name.find('\0') != std::string::npos) {
            *error = Describe(item) + ": the name does not fit a directory record";
            return false;
        }
        if (item.size < 0) {
            *error = Describe(item) + ": negative size";
            return false;
        }
        total += item.size;
        if (total > kMaxPackageTotal) {
            *error = "the files add up to more than 2,147,483,647 bytes";
            return false;
        }
    }
    return true;
}

bool WriteDirectory(const std::vector<PackItem>& items, WriteStream& out) {
    PackageHeader header = {};
    header.nVersion = kPackageVersion;
    header.chMagic[0] = kPackageMagic0;
    header.chMagic[1] = kPackageMagic1;
    header.nEntryCount = static_cast<std::int32_t>(items.size());
    unsigned char header_bytes[kHeaderSize];
    EncodeHeader(header, header_bytes);
    if (!out.Write(header_bytes, sizeof header_bytes)) {
        return false;
    }
    for (const PackItem& item : items) {
        PackageEntry entry = {};
        entry.nSize = static_cast<std::int32_t>(item.size);
        std::memcpy(entry.szName, item.name.data(), item.name.size());
        unsigned char entry_bytes[kEntrySize];
        EncodeEntry(entry, entry_bytes);
        if (!out.Write(entry_bytes, sizeof entry_bytes)) {
            return false;
        }
    }
    return true;
}

// Copies exactly item.size bytes of the item's source to out.
bool CopyData(const PackItem& item, WriteStream& out, const SourceOpener& open,
              std::vector<char>& buffer, std::int64_t* done, const ByteProgress& progress,
              std::string* error) {
    std::unique_ptr<ReadStream> source = open(item);
    if (!source) {
        *error = PathForDisplay(item.source) + ": cannot be opened";
        return false;
    }
    std::int64_t left = item.size;
    while (left > 0) {
        const bool whole = left >= static_cast<std::int64_t>(buffer.size());
        // A whole piece goes by the output's own copy (by the kernel, where
        // it can), never past the size. The last piece, shorter, is read
        // asking for one byte more than is left: a file that grew shows at
        // once, and a source that meets its end there knows it.
        const std::int64_t got =
            whole ? out.CopyFrom(*source, buffer.data(), buffer.size())
                  : source->Read(buffer.data(), static_cast<std::size_t>(left) + 1);
        if (got == kCopyWriteFailed) {
            *error = "cannot write the package";
            return false;
        }
        if (got < 0) {
            *error = PathForDisplay(item.source) + ": read error";
            return false;
        }
        if (got == 0) {
            *error = PathForDisplay(item.source) + ": shorter than when it was measured";
            return false;
        }
        if (got > left) {
            *error = PathForDisplay(item.source) + ": longer than when it was measured";
            return false;
        }
        if (!whole && !out.Write(buffer.data(), static_cast<std::size_t>(got))) {
            *error = "cannot write the package";
            return false;
        }
        left -= got;
        *done += got;
        if (progress) {
            progress(*done);
        }
    }
    // A file that grew would be carried cut short: refuse it instead.
    char probe;
    const std::int64_t extra = source->Read(&probe, 1);
    if (extra != 0) {
        *error = PathForDisplay(item.source) +
                 (extra < 0 ? ": read error" : ": longer than when it was measured");
        return false;
    }
    return true;
}

}  // namespace

bool WritePackage(const std::vector<PackItem>& items, WriteStream& out, const SourceOpener& open,
                  const ByteProgress& progress, std::string* error) {
    if (!CheckItems(items, error)) {
        return false;
    }
    if (!WriteDirectory(items, out)) {
        *error = "cannot write the package";
        return false;
    }
    std::vector<char> buffer(kCopyBufferSize);
    std::int64_t done = 0;
    for (const PackItem& item : items) {
        if (!CopyData(item, out, open, buffer, &done, progress, error)) {
            return false;
        }
    }
    return true;
}

}  // namespace qz::pack
