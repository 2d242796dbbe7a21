#include "robot/page_walks.h"

#include "robot/report.h"

namespace robot {

HWND StartToLicence(Installer& run) {
    run.Start();
    HWND host = run.WaitHost();
    Require(host != nullptr, "the host dialog appears");
    return PressInstallOnHost(run, host);
}

HWND StartToPathPage(Installer& run) {
    return AgreeAndGoOn(run, StartToLicence(run));
}

}  // namespace robot
