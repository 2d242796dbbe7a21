// Borrowed wrappers for the controls that pages bind with DDX_Control. They own
// nothing: the dialog destroys its controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/wnd.h"

class CButton : public CWnd {
  public:
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class CEdit : public CWnd {};

class CStatic : public CWnd {};

class CProgressCtrl : public CWnd {
  public:
    void SetRange32(int lower, int upper) const {
        SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
    }
    int SetPos(int position) const {
        return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position)));
    }
};
