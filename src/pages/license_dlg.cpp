#include "pages/license_dlg.h"

#include "common/texts.h"
#include "framework/message_map.h"
#include "res/resource.h"

CLicenseDlg::CLicenseDlg(CWnd* parent) : CDialog(IDD_LICENSE, parent) {}

bool CLicenseDlg::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    static const MessageMapEntry<CLicenseDlg> map[] = {
        OnBnClicked(IDC_AGREE, &CLicenseDlg::OnAgree),
    };
    return DispatchMessageMap(this, map, msg, wp, lp, result) ||
           CDialog::OnWndMsg(msg, wp, lp, result);
}

void CLicenseDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDOK, m_btnNext);
    DDX_Control(dx, IDC_AGREE, m_chkAgree);
    DDX_Control(dx, IDC_LICENSE_TEXT, m_editLicense);
}

BOOL CLicenseDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
    m_editLicense.SetWindowText(qz::kLicenseText);
    // The template disables Next, so the focus lands on the quit button.
    return TRUE;
}

void CLicenseDlg::OnAgree() {
    m_btnNext.EnableWindow(m_chkAgree.SendMessage(BM_GETCHECK) == BST_CHECKED);
}

void CLicenseDlg::OnOK() {
    CDialog::OnOK();
}

void CLicenseDlg::OnCancel() {
    CDialog::OnCancel();
}
