#include "qzpack/package/name_check_text.h"

#include "qzpack/host/host_text.h"
#include "qzpack/package/package_directory.h"

namespace qz::pack {

const char* NameCheckText(NameCheck check) {
    switch (check) {
        case NameCheck::kOk:
            return "accepted";
        case NameCheck::kUnterminated:
            return "no NUL byte within its 260 bytes";
        case NameCheck::kEmpty:
            return "empty name";
        case NameCheck::kBadGbk:
            return "not well-formed GBK";
        case NameCheck::kForwardSlash:
            return "holds a forward slash";
        case NameCheck::kColon:
            return "holds a colon (drive letter or stream name)";
        case NameCheck::kControlByte:
            return "holds a control character";
        case NameCheck::kLeadingSeparator:
            return "starts with a backslash (absolute path)";
        case NameCheck::kTrailingSeparator:
            return "ends with a backslash";
        case NameCheck::kEmptyLevel:
            return "has an empty level";
        case NameCheck::kDotOrSpaceEnd:
            return "has a level that ends with a dot or a space (\".\", \"..\")";
        case NameCheck::kDeviceName:
            return "has a level that names a Windows device (CON, NUL, COM1, ...)";
        case NameCheck::kForbiddenCharacter:
            return "holds a character Windows file names cannot hold (< > \" | ? *)";
        case NameCheck::kLevelTooLong:
            return "has a level longer than 255 characters";
        case NameCheck::kInstallLog:
            return "has install.log as its first level, the list of installed files the "
                   "installer writes first";
    }
    return "refused";
}

std::string DescribeEntry(const std::vector<std::unique_ptr<PackageEntry>>& entries,
                          std::size_t index) {
    return "entry " + std::to_string(index) + " (" + GbkForDisplay(EntryName(*entries[index])) +
           ")";
}

std::string DirectoryFaultText(const std::vector<std::unique_ptr<PackageEntry>>& entries,
                               const EntryCheck& check) {
    switch (check.status) {
        case DirectoryCheck::kOk:
            break;
        case DirectoryCheck::kBadName:
            return DescribeEntry(entries, check.bad_index) +
                   ": the name is refused: " + NameCheckText(check.name);
        case DirectoryCheck::kTotalTooLarge:
            return "the sizes add up to " + std::to_string(check.total) +
                   " bytes, more than 2,147,483,647 (at " +
                   DescribeEntry(entries, check.bad_index) + ")";
        case DirectoryCheck::kFolderClash:
            return DescribeEntry(entries, check.bad_index) + " and " +
                   DescribeEntry(entries, check.other_index) +
                   ": one names a file where the other needs a folder";
    }
    return "accepted";
}

}  // namespace qz::pack
