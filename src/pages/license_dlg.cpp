#include "pages/license_dlg.h"

#include "res/resource.h"

CLicenseDlg::CLicenseDlg(CWnd* parent) : CDialog(IDD_LICENSE, parent) {}
