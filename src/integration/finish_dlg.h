// CFinishDlg: the finish page. When it opens it records the installation in
// the registry (whatever its outcome) and shows whether it succeeded; Finish
// starts every program whose box is ticked, Esc and the close box start none.
// The page shows no message and never fails visibly.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"

class CFinishDlg : public CDialog {
  public:
    explicit CFinishDlg(CWnd* parent = nullptr);
    ~CFinishDlg() override = default;

    // The install state handed over from the progress page before DoModal;
    // 1 is success, anything else (0, 2, 3) a failure.
    int m_nResult = 0;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Writes the registry record, centres the page on the desktop and shows
    // the outcome: on success all three boxes ticked; otherwise the failure
    // headline, the run box hidden and both offers unticked. Returns TRUE, so
    // the focus goes to Finish.
    BOOL OnInitDialog() override;
    // Starts the ticked programs in launch-table order (failures ignored),
    // then ends the page with IDOK.
    void OnOK() override;

  private:
    CButton m_chkOfferBrowser;
    CButton m_chkOfferToolbar;
    CStatic m_stcStatus;
    CButton m_chkRunApp;
};
