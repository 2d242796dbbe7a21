#include "pages/path_dlg.h"

#include "res/resource.h"

CPathDlg::CPathDlg(CWnd* parent) : CDialog(IDD_PATH, parent) {}
