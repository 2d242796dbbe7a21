// CLicenseDlg: the licence agreement page.
#pragma once

#include "framework/dialog.h"

class CLicenseDlg : public CDialog {
  public:
    explicit CLicenseDlg(CWnd* parent = nullptr);
};
