// CAboutDlg: the About box, opened from the host's system menu.
#pragma once

#include "framework/dialog.h"

class CAboutDlg : public CDialog {
  public:
    CAboutDlg();
};
