#include "framework/data_exchange.h"

#include "framework/dialog.h"

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    control.m_hWnd = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
}
