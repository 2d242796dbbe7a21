// CLicenseDlg: the licence agreement page. Next (IDOK) starts disabled and is
// enabled exactly while the agreement box is ticked; Next ends the page with
// IDOK, the quit button, Esc and the close box with IDCANCEL.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"

class CLicenseDlg : public CDialog {
  public:
    explicit CLicenseDlg(CWnd* parent = nullptr);
    ~CLicenseDlg() override = default;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

  private:
    // BN_CLICKED of the agreement box: the box has already toggled itself.
    void OnAgree();

    CButton m_btnNext;
    CButton m_chkAgree;
    CEdit m_editLicense;
};
