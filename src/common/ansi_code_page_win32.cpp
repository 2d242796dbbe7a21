#include <windows.h>

#include "common/ansi_code_page.h"

namespace qz {

bool IsAnsiLeadByte(unsigned char c) {
    return ::IsDBCSLeadByte(c) != FALSE;
}

}  // namespace qz
