// CPathDlg: the install-directory page.
#pragma once

#include "framework/dialog.h"

class CPathDlg : public CDialog {
  public:
    explicit CPathDlg(CWnd* parent = nullptr);
};
