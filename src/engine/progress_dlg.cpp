#include "engine/progress_dlg.h"

#include <string>

#include "common/install_dir.h"
#include "common/texts.h"
#include "engine/extractor.h"
#include "engine/progress_ui_win32.h"
#include "engine/setup_job_win32.h"
#include "framework/message_box.h"
#include "framework/message_map.h"
#include "framework/thread.h"
#include "res/resource.h"

CProgressDlg::CProgressDlg(CWnd* parent) : CDialog(IDD_PROGRESS, parent) {}

bool CProgressDlg::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    static const MessageMapEntry<CProgressDlg> map[] = {
        OnWmSysCommand(&CProgressDlg::OnSysCommand),
    };
    return DispatchMessageMap(this, map, msg, wp, lp, result) ||
           CDialog::OnWndMsg(msg, wp, lp, result);
}

void CProgressDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_STATUS, m_stcStatus);
    DDX_Control(dx, IDC_PROGRESS, m_prgInstall);
}

BOOL CProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
    if (!AfxBeginThread(&InstallThreadProc, this, THREAD_PRIORITY_NORMAL, 0)) {
        // Without a worker nothing would ever close the page: the
        // installation has failed before it began.
        m_nInstallState = qz::kStateFailed;
        m_bWorkerDone = true;
        EndDialog(IDCANCEL);
    }
    return TRUE;
}

void CProgressDlg::OnOK() {
    if (m_bWorkerDone) {
        EndDialog(IDCANCEL);
    }
}

void CProgressDlg::OnCancel() {
    if (m_bWorkerDone) {
        EndDialog(IDCANCEL);
        return;
    }
    if (m_nInstallState != qz::kStateNotStarted) {
        AfxMessageBox(qz::kMsgCloseRefusal, MB_OK);
    }
}

void CProgressDlg::OnSysCommand(UINT commandId, LPARAM) {
    if (commandId == SC_CLOSE && m_nInstallState == qz::kStateRunning) {
        AfxMessageBox(qz::kMsgCloseRefusal, MB_OK);
        return;
    }
    // Any other close arrives as WM_CLOSE and then as IDCANCEL in OnCancel,
    // which keeps the page while the worker runs.
    Default();
}

BOOL CProgressDlg::DestroyWindow() {
    FreeEntries();
    return CDialog::DestroyWindow();
}

void CProgressDlg::FreeEntries() {
    m_arrEntries.clear();
}

int CProgressDlg::ExtractPackage() noexcept {
    try {
        qz::ProgressPageUi ui(m_stcStatus, m_prgInstall, qz::g_strInstallDir);
        qz::SetupJob setup(ui, m_arrEntries, m_nInstallState);
        return qz::ExtractPackage(setup.job());
    } catch (...) {
        // Only setting up the job can throw, and only for want of memory: the
        // installation has failed before it began.
        return qz::kExtractCreateFailed;
    }
}

UINT InstallThreadProc(LPVOID param) {
    auto* page = static_cast<CProgressDlg*>(param);
    const HWND window = page->m_hWnd;
    if (page->ExtractPackage() != qz::kExtractOk) {
        page->m_nInstallState = qz::kStateFailed;
    }
    page->m_bWorkerDone = true;
    ::SendMessageA(window, WM_CLOSE, 0, 0);
    return 0;
}
