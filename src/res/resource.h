// Resource and control identifiers, shared by the resource script and the code.
#pragma once

#define IDR_MAINFRAME 128
#define IDB_LINE 129
#define IDB_BANNER 130

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_INSTALL_DIALOG 102
#define IDD_LICENSE 131
#define IDD_PATH 132
#define IDD_PROGRESS 133
#define IDD_FINISH 134
// The uninstaller's progress window (uninstall.exe).
#define IDD_UNINSTALL 135

#define IDM_ABOUTBOX 0x0010

#define IDC_LICENSE_TEXT 1001
#define IDC_AGREE 1002
#define IDC_RUN_APP 1002
#define IDC_BROWSE 1003
#define IDC_PROGRESS 1004
#define IDC_INSTALL 1005
#define IDC_INSTALL_PATH 1006
#define IDC_STATUS 1007
#define IDC_SPACE_INFO 1008
#define IDC_OFFER_TOOLBAR 1009
#define IDC_OFFER_BROWSER 1010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
