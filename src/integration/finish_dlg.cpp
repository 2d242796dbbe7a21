#include "integration/finish_dlg.h"

#include <shellapi.h>

#include <string>

#include "common/install_dir.h"
#include "common/texts.h"
#include "integration/install_record.h"
#include "integration/launch_table.h"
#include "integration/registry_store_win32.h"
#include "res/resource.h"

CFinishDlg::CFinishDlg(CWnd* parent) : CDialog(IDD_FINISH, parent) {}

void CFinishDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_OFFER_BROWSER, m_chkOfferBrowser);
    DDX_Control(dx, IDC_OFFER_TOOLBAR, m_chkOfferToolbar);
    DDX_Control(dx, IDC_STATUS, m_stcStatus);
    DDX_Control(dx, IDC_RUN_APP, m_chkRunApp);
}

BOOL CFinishDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Recorded before the outcome is looked at: a failed installation is
    // recorded too.
    qz::WriteInstallRecord(qz::DefaultRegistryStore(), qz::g_strInstallDir);
    CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
    if (m_nResult == 1) {
        // The headline keeps the template's success text.
        m_chkRunApp.SetCheck(BST_CHECKED);
        m_chkOfferToolbar.SetCheck(BST_CHECKED);
        m_chkOfferBrowser.SetCheck(BST_CHECKED);
    } else {
        // The offers stay visible, usable and unticked.
        m_stcStatus.SetWindowText(qz::kFinishFailedHeadline);
        m_chkRunApp.ShowWindow(SW_HIDE);
    }
    return TRUE;
}

void CFinishDlg::OnOK() {
    // A hidden box is read like any other. No working directory is passed, so
    // each program starts in the installer's current directory.
    qz::LaunchTicked(
        qz::g_strInstallDir,
        [this](int checkBoxId) {
            return static_cast<int>(::SendDlgItemMessageA(m_hWnd, checkBoxId, BM_GETCHECK, 0, 0));
        },
        [](const std::string& program) {
            // A program that is missing or cannot start is skipped silently.
            ::ShellExecuteA(nullptr, "open", program.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        });
    CDialog::OnOK();
}
