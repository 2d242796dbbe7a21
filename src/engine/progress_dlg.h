// CProgressDlg: the progress page; its worker unpacks the package.
#pragma once

#include <atomic>

#include "framework/dialog.h"

class CProgressDlg : public CDialog {
  public:
    explicit CProgressDlg(CWnd* parent = nullptr);

    // 0 not started, 3 extracting, 1 finished, 2 failed. Written by the worker,
    // read on the page's thread.
    std::atomic<int> m_nInstallState{0};
};
