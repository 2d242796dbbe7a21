// CUninstallDlg: the uninstaller's progress window. OnInitDialog starts one
// worker thread that runs the removal with this window's user interface
// (a progress bar and a status line naming the file being removed) and closes
// the window when it is done. The window ends only through that close: Enter,
// Esc and the close box are ignored while the worker runs.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "framework/controls.h"
#include "framework/dialog.h"
#include "uninstall/removal_plan.h"

class CUninstallDlg : public CDialog {
  public:
    // `job` (its ui is set here) must outlive the window.
    explicit CUninstallDlg(qz::UninstallJob& job);

    // The removal's outcome, once the window has ended.
    qz::UninstallOutcome m_outcome;
    CStatic m_stcStatus;
    CProgressCtrl m_prgRemove;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Binds the controls, centres the window on the desktop, starts the worker.
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

  private:
    static UINT WorkerProc(LPVOID param);

    qz::UninstallJob& m_job;
    std::atomic<bool> m_bWorkerDone{false};
};
