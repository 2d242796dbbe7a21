#include "engine/progress_dlg.h"

#include "res/resource.h"

CProgressDlg::CProgressDlg(CWnd* parent) : CDialog(IDD_PROGRESS, parent) {}
