// CPathDlg: the install-directory page. Proposes ProgramFiles with the product
// folder, lets the user type or browse for another directory, checks the text,
// asks for confirmation and then stores the path, ending with a separator, in
// qz::g_strInstallDir before ending with IDOK. Cancel, Esc and the close box end
// it with IDCANCEL and leave g_strInstallDir untouched.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"

class CPathDlg : public CDialog {
  public:
    explicit CPathDlg(CWnd* parent = nullptr);
    ~CPathDlg() override = default;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

  private:
    // BN_CLICKED of the Browse button: a chosen file-system folder, with the
    // product folder, replaces the edit's text; anything else changes nothing.
    void OnBrowse();

    CStatic m_stcSpace;  // the hidden space figures; bound, never used
    CEdit m_editPath;
};
