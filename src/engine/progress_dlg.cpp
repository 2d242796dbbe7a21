#include "engine/progress_dlg.h"

#include <string>

#include "common/file_system_win32.h"
#include "common/install_dir.h"
#include "common/module_dir.h"
#include "common/texts.h"
#include "engine/extractor.h"
#include "engine/progress_ui_win32.h"
#include "framework/message_box.h"
#include "framework/message_map.h"
#include "framework/thread.h"
#include "integration/shortcuts.h"
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

namespace {

// One extraction for the page: qz::ExtractJob for g_strInstallDir with the
// page's user interface, entry list and state, the Win32 file layer and
// data.dat beside the setup executable. Building it may throw (only for want
// of memory); the page must outlive it.
class PageExtraction {
  public:
    explicit PageExtraction(CProgressDlg& page) : m_ui(page.m_stcStatus, page.m_prgInstall) {
        m_job.install_dir = qz::g_strInstallDir;
        m_job.fs = &m_files;
        m_job.ui = &m_ui;
        m_job.open_package = [this]() {
            // data.dat is opened by its relative name in the setup directory.
            qz::GetModuleDir();
            return m_files.OpenRead(qz::kPackageFileName);
        };
        m_job.entries = &page.m_arrEntries;
        m_job.state = &page.m_nInstallState;
        m_job.create_shortcuts = []() { qz::CreateShortcuts(); };
    }
    PageExtraction(const PageExtraction&) = delete;
    PageExtraction& operator=(const PageExtraction&) = delete;

    qz::ExtractJob& job() { return m_job; }

  private:
    qz::Win32FileSystem m_files;
    qz::ProgressPageUi m_ui;
    qz::ExtractJob m_job;
};

}  // namespace

int CProgressDlg::ExtractPackage() noexcept {
    try {
        PageExtraction extraction(*this);
        return qz::ExtractPackage(extraction.job());
    } catch (...) {
        // Only setting up the job can throw, and only for want of memory.
        return qz::kExtractCreateFailed;
    }
}

UINT InstallThreadProc(LPVOID param) {
    auto* page = static_cast<CProgressDlg*>(param);
    const HWND window = page->m_hWnd;
    try {
        PageExtraction extraction(*page);
        qz::RunInstallWorker(extraction.job());
    } catch (...) {
        // Only setting up the job can throw, and only for want of memory: the
        // installation has failed before it began.
        page->m_nInstallState = qz::kStateFailed;
    }
    page->m_bWorkerDone = true;
    ::SendMessageA(window, WM_CLOSE, 0, 0);
    return 0;
}
