#include "app/install_app.h"

#include "app/install_dlg.h"
#include "app/unattended_install_win32.h"
#include "app/unattended_rules.h"

CInstallApp theApp;

BOOL CInstallApp::InitInstance() {
    const qz::UnattendedRequest request = qz::ParseCommandLine(m_lpCmdLine);
    if (request.mode != qz::UnattendedRequest::kWizard) {
        m_nExitCode = qz::RunUnattendedInstall(request);
        return FALSE;
    }
    CInstallDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
