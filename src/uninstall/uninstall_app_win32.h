// CUninstallApp: uninstall.exe. InitInstance reads the command line: with none
// it asks whether to remove Qorvane and then removes it with its window; with
// /S it removes it silently; the working copy's own argument runs the copy.
// Only one uninstaller runs at a time. ExitInstance returns the exit code.
#pragma once

#include "framework/win_app.h"

class CUninstallApp : public CWinApp {
  public:
    CUninstallApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;
    int ExitInstance() override { return m_nExitCode; }

  private:
    int m_nExitCode = 0;
};
