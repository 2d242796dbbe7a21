// CInstallDlg: the host dialog. Its Install button (or Enter) runs the wizard;
// its system menu carries the About item.
#pragma once

#include "framework/dialog.h"

class CInstallDlg : public CDialog {
  public:
    explicit CInstallDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;

    // The wizard: licence, install directory, progress, finish, each page shown
    // only when the one before it let the installation go on. Ends by asking
    // the host to close.
    void RunWizard();

  protected:
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

  private:
    void OnSysCommand(UINT commandId, LPARAM lp);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTimer(UINT_PTR timerId);

    HICON m_hIcon;
};
