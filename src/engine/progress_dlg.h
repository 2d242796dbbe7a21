// CProgressDlg: the progress page. OnInitDialog starts one worker thread
// (InstallThreadProc) that unpacks data.dat into g_strInstallDir, moves the
// progress bar and the status line, creates the shortcuts after a success and
// finally closes the page with WM_CLOSE.
//
// The page ends only through that close request. Enter, Esc, the close box,
// Alt+F4 and the system menu's Close never end it while the worker runs: the
// worker uses the page's entry list, controls and state until it has sent
// its close request. While it extracts (state 3) or creates the shortcuts
// (state 1) such a request shows the close refusal; while it waits on the
// running-copy question (state 0) the request is ignored silently, since the
// question is on the screen already and its Cancel ends the installation.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

#include "engine/package_format.h"
#include "framework/controls.h"
#include "framework/dialog.h"

class CProgressDlg : public CDialog {
  public:
    explicit CProgressDlg(CWnd* parent = nullptr);
    ~CProgressDlg() override = default;

    // Frees the directory records, then destroys the window. Runs on the
    // page's thread after the modal loop, when the worker is done with them.
    BOOL DestroyWindow() override;

    // The page's extraction (qz::ExtractPackage for g_strInstallDir with this
    // page's user interface, the Win32 file layer and data.dat beside the
    // setup executable), which the worker thread runs. Returns 0 on success
    // or a failure code 1-4; sets m_nInstallState to 3, then to 1 on success.
    // Throws nothing.
    int ExtractPackage() noexcept;
    // Deletes every directory record; the list keeps its storage.
    void FreeEntries();

    // The package directory in directory order, owned here.
    std::vector<std::unique_ptr<qz::PackageEntry>> m_arrEntries;
    // 0 not started, 3 extracting, 1 finished, 2 failed. Written by the worker,
    // read on the page's thread.
    std::atomic<int> m_nInstallState{0};
    CStatic m_stcStatus;
    CProgressCtrl m_prgInstall;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Binds the controls, centres the page on the desktop, starts the worker.
    BOOL OnInitDialog() override;
    // Enter: ignored until the worker is done, then ends the page.
    void OnOK() override;
    // Esc and WM_CLOSE: refused until the worker is done, then ends the page.
    void OnCancel() override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

  private:
    friend UINT InstallThreadProc(LPVOID param);

    // SC_CLOSE (the whole value) while extracting shows the close refusal and
    // is swallowed; everything else goes to the default processing.
    void OnSysCommand(UINT commandId, LPARAM lp);

    // Set by the worker right before its WM_CLOSE; from then on the worker
    // uses nothing of the page but the window handle it copied at its start.
    std::atomic<bool> m_bWorkerDone{false};
};

// The worker thread's entry; `param` is the page. Runs the page's
// ExtractPackage, sets the state to 2 when its result is not 0, then sends
// WM_CLOSE to the page. Returns 0.
UINT InstallThreadProc(LPVOID param);
