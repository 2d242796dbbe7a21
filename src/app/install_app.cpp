#include "app/install_app.h"

#include "app/install_dlg.h"

CInstallApp theApp;

BOOL CInstallApp::InitInstance() {
    CInstallDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
