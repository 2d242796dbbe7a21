#include "robot/running_copy.h"

#include "robot/expected_texts.h"
#include "robot/files.h"
#include "robot/installer.h"
#include "robot/report.h"
#include "robot/ui.h"

namespace robot {

RunningCopy::RunningCopy(const std::string& workDir) {
    Require(m_process.Start(WithSlash(PayloadProgramsDir()) + "ravik.exe", "", workDir,
                            {{"QZ_LAUNCH_LOG", workDir + "copy-launch.log"}}),
            "a running copy starts");
    Require(WaitUntil([&] { return (m_window = ::FindWindowA(nullptr, kAppWindowTitle)); }),
            "the running copy shows its window titled Qorvane");
}

void RunningCopy::Close() {
    Step("close the running copy");
    ::PostMessageA(m_window, WM_CLOSE, 0, 0);
    Require(WaitGone(m_window), "the running copy's window closes");
    Check(m_process.WaitExit(kWait), "the running copy ends");
}

}  // namespace robot
