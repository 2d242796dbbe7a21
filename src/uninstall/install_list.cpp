#include "uninstall/install_list.h"

#include <cstring>
#include <new>

#include "common/constants.h"
#include "engine/package_format.h"

namespace qz {
namespace {

constexpr char kPrefix[] = "[FILE] ";
constexpr std::size_t kPrefixSize = sizeof(kPrefix) - 1;

// Judges one name of `size` bytes with the installer's rules, in the field
// the package directory would hold it in.
NameCheck CheckListedName(const char* name, std::size_t size, const NameCodePage& code_page) {
    if (size >= kNameSize) {
        return NameCheck::kUnterminated;
    }
    char field[kNameSize] = {};
    std::memcpy(field, name, size);
    return CheckEntryName(field, sizeof(field), code_page);
}

}  // namespace

InstallList ParseInstallList(const std::string& bytes, const std::string& install_dir,
                             const NameCodePage& code_page, std::size_t longest_path) {
    InstallList list;
    std::size_t line = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        ++line;
        list.bad_line = line;
        const std::size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos || bytes.compare(at, kPrefixSize, kPrefix) != 0 ||
            end < at + kPrefixSize) {
            list.status = ListStatus::kBadLine;
            return list;
        }
        const char* name = bytes.data() + at + kPrefixSize;
        const std::size_t size = end - at - kPrefixSize;
        if (std::memchr(name, '\0', size) != nullptr) {
            list.status = ListStatus::kBadLine;
            return list;
        }
        list.name = CheckListedName(name, size, code_page);
        if (list.name != NameCheck::kOk) {
            list.status = ListStatus::kBadName;
            return list;
        }
        if (install_dir.size() + size > longest_path) {
            list.status = ListStatus::kNoRoom;
            return list;
        }
        list.names.emplace_back(name, size);
        at = end + 2;
    }
    list.bad_line = 0;
    return list;
}

bool ReadWholeList(ReadStream& stream, std::string* bytes) {
    char buffer[kCopyChunkSize];
    bytes->clear();
    for (;;) {
        const std::int64_t n = stream.Read(buffer, sizeof(buffer));
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        if (bytes->size() + static_cast<std::size_t>(n) > kMaxListBytes) {
            return false;
        }
        bytes->append(buffer, static_cast<std::size_t>(n));
    }
}

std::string ListLine(const std::string& name) {
    return kPrefix + name + "\r\n";
}

}  // namespace qz
