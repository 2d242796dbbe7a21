// Dialog data exchange: binding controls to member objects.
#pragma once

#include <windows.h>

class CDialog;
class CWnd;

struct CDataExchange {
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
};

// Binds `control` to the dialog's child with id `id`. A missing child leaves the
// control unbound (null handle), so later calls on it do nothing.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
