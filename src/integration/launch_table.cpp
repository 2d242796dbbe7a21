#include "integration/launch_table.h"

#include "common/texts.h"
#include "res/resource.h"

namespace qz {

const std::array<LaunchRow, 3> kLaunchTable = {{
    {IDC_OFFER_TOOLBAR, kToolbarExe},
    {IDC_RUN_APP, kAppExe},
    {IDC_OFFER_BROWSER, kBrowserSetupExe},
}};

void LaunchTicked(const std::string& installDir,
                  const std::function<int(int checkBoxId)>& checkState,
                  const std::function<void(const std::string& program)>& launch) {
    for (const LaunchRow& row : kLaunchTable) {
        if (checkState(row.checkBoxId) == kCheckBoxTicked) {
            launch(installDir + row.program);
        }
    }
}

}  // namespace qz
