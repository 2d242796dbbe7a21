// CInstallApp: the application. InitInstance runs the host dialog modally and
// returns FALSE, so the program ends when the host closes. With /S first on
// the command line it installs unattended instead, and ExitInstance returns
// that installation's exit code.
#pragma once

#include "framework/win_app.h"

class CInstallApp : public CWinApp {
  public:
    CInstallApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;
    int ExitInstance() override { return m_nExitCode; }

  private:
    int m_nExitCode = 0;
};
