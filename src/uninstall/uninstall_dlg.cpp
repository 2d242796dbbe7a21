#include "uninstall/uninstall_dlg.h"

#include "framework/handles.h"
#include "framework/thread.h"
#include "res/resource.h"
#include "uninstall/uninstall_ui_win32.h"

CUninstallDlg::CUninstallDlg(qz::UninstallJob& job) : CDialog(IDD_UNINSTALL), m_job(job) {}

void CUninstallDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_STATUS, m_stcStatus);
    DDX_Control(dx, IDC_PROGRESS, m_prgRemove);
}

BOOL CUninstallDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
    if (!AfxBeginThread(&CUninstallDlg::WorkerProc, this, THREAD_PRIORITY_NORMAL, 0)) {
        // Nothing was removed: the removal never began.
        m_outcome.result = kUninstallNoWorkingCopy;
        m_bWorkerDone = true;
        EndDialog(IDCANCEL);
    }
    return TRUE;
}

void CUninstallDlg::OnOK() {
    if (m_bWorkerDone) {
        EndDialog(IDOK);
    }
}

void CUninstallDlg::OnCancel() {
    if (m_bWorkerDone) {
        EndDialog(IDCANCEL);
    }
}

UINT CUninstallDlg::WorkerProc(LPVOID param) {
    auto* dlg = static_cast<CUninstallDlg*>(param);
    const HWND window = dlg->m_hWnd;
    try {
        // The shell's link objects are read on this thread.
        const ComApartment apartment;
        qz::WindowUninstallUi ui(dlg->m_stcStatus, dlg->m_prgRemove, dlg->m_job.install_dir);
        dlg->m_job.ui = &ui;
        dlg->m_outcome = qz::RemoveInstallation(dlg->m_job);
    } catch (...) {
        // Only setting up the user interface can throw, before anything is removed.
        dlg->m_outcome.result = kUninstallNoWorkingCopy;
    }
    dlg->m_job.ui = nullptr;
    dlg->m_bWorkerDone = true;
    ::SendMessageA(window, WM_CLOSE, 0, 0);
    return 0;
}
