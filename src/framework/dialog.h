// CDialog: a modal dialog built from a template of the program's resources.
//
// DoModal runs the dialog through DialogBoxParamW, so the texts of the
// template (UTF-16 in the resources) show as written under any system code
// page. Without a parent the application's main window becomes the owner (so
// every page is owned by the host). Messages reach OnWndMsg, which each class
// overrides to dispatch through its own message map before handing the rest
// to its base.
#pragma once

#include <windows.h>

#include "framework/data_exchange.h"
#include "framework/wnd.h"

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override = default;

    // Runs the modal loop. Returns the code the dialog ended with (IDOK,
    // IDCANCEL, ...), or -1 when the dialog cannot be created. After the loop
    // the virtual DestroyWindow runs, so a dialog can release what it holds.
    virtual INT_PTR DoModal();

    // Binds the controls (data exchange towards the controls). Returns TRUE:
    // the dialog manager gives the focus to the first tab stop.
    virtual BOOL OnInitDialog();
    // Data exchange from the controls, then ends the dialog with IDOK.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL. Esc, the Cancel button and WM_CLOSE (the
    // close box, Alt+F4, the system menu's Close) all arrive here.
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);
    // Runs once the modal loop has ended; destroys the window if it still
    // exists. Returns TRUE when no window is left.
    virtual BOOL DestroyWindow();

    void EndDialog(int result) const { ::EndDialog(m_hWnd, result); }
    // Runs DoDataExchange; `save` TRUE reads the controls. Always TRUE here.
    BOOL UpdateData(BOOL save = TRUE);

  protected:
    // Asks for the dialog manager's default processing of the message being
    // handled. It happens when the handler returns; handlers call it last.
    void Default() { m_bDefault = true; }

    // Handles a message; true when handled. `*result` is the dialog
    // procedure's answer for messages that return a value.
    virtual bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bDefault = false;
};
