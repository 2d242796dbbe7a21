#include "integration/finish_dlg.h"

#include "res/resource.h"

CFinishDlg::CFinishDlg(CWnd* parent) : CDialog(IDD_FINISH, parent) {}
