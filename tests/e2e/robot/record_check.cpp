#include "robot/record_check.h"

#include <windows.h>

#include "robot/report.h"
#include "robot/system_state.h"

namespace robot {

void CheckRecord(const std::string& installDir, bool pathWritten) {
    const RegValue ver = ReadMachineValue(kProductKey, "ver");
    Check(ver.present, "\"ver\" is recorded");
    CheckEqual(ver.type, REG_SZ, "\"ver\" is a REG_SZ");
    CheckEqual(ver.bytes, std::string("1.10", 5), "\"ver\" holds 1.10 and its NUL (5 bytes)");
    const RegValue path = ReadMachineValue(kProductKey, "path");
    if (pathWritten) {
        Check(path.present, "\"path\" is recorded");
        CheckEqual(path.type, REG_SZ, "\"path\" is a REG_SZ");
        CheckEqual(path.bytes, installDir + '\0', "\"path\" holds the install directory");
    } else {
        Check(!path.present, "\"path\" is not recorded");
    }
}

}  // namespace robot
