#include "name_check_text.h"

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
    }
    return "refused";
}

}  // namespace qz::pack
