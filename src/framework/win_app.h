// CWinApp: the one application object. The framework's WinMain settles the
// application's name and calls InitInstance; the program ends when it returns.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
  public:
    // `appName` null: the name is the executable's file name without its
    // extension ("Install" for Install.exe), settled before InitInstance.
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns FALSE to end the program without a message loop of its own;
    // ExitInstance then gives the process's exit code.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }

    // Loads an icon of the program's resources at the system's icon size;
    // null when there is none.
    HICON LoadIcon(UINT id) const;

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    // The command line after the program's name, as WinMain received it.
    const char* m_lpCmdLine = "";
    std::string m_strAppName;
};

CWinApp* AfxGetApp();
// The application's name: the caption of every message box.
const char* AfxGetAppName();
HINSTANCE AfxGetResourceHandle();
// The module holding resource `name` of `type`: the program itself.
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);

// Runs the application: what WinMain does. Returns the process exit code:
// ExitInstance's result once InitInstance has returned FALSE, else 0.
int AfxWinMain(HINSTANCE instance, const char* commandLine);
