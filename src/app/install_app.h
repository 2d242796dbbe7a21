// CInstallApp: the application. InitInstance runs the host dialog modally and
// returns FALSE, so the program ends when the host closes.
#pragma once

#include "framework/win_app.h"

class CInstallApp : public CWinApp {
  public:
    CInstallApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;
};
