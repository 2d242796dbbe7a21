// CFinishDlg: the finish page.
#pragma once

#include "framework/dialog.h"

class CFinishDlg : public CDialog {
  public:
    explicit CFinishDlg(CWnd* parent = nullptr);

    // The install state handed over from the progress page; 1 is success.
    int m_nResult = 0;
};
