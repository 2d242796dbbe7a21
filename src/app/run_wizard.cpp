#include "app/install_dlg.h"
#include "engine/progress_dlg.h"
#include "integration/finish_dlg.h"
#include "pages/license_dlg.h"
#include "pages/path_dlg.h"

// The only place that knows the order of the pages. Each page object lives on
// this frame from its turn on; they are destroyed in reverse order on return.
void CInstallDlg::RunWizard() {
    // Out of sight but still shown: the host stays the pages' owner.
    SetWindowPos(&wndTop, -100, -100, 0, 0, SWP_FRAMECHANGED);

    CLicenseDlg license;
    if (license.DoModal() != IDOK) {
        SendMessage(WM_CLOSE);
        return;
    }
    CPathDlg path;
    if (path.DoModal() != IDOK) {
        SendMessage(WM_CLOSE);
        return;
    }
    CProgressDlg progress;
    progress.DoModal();

    CFinishDlg finish;
    finish.m_nResult = progress.m_nInstallState;
    finish.DoModal();

    SendMessage(WM_CLOSE);
}
