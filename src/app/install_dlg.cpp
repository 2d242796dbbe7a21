#include "app/install_dlg.h"

#include "app/about_dlg.h"
#include "app/host_rules.h"
#include "framework/message_map.h"
#include "framework/paint_dc.h"
#include "framework/win_app.h"
#include "res/resource.h"

CInstallDlg::CInstallDlg(CWnd* parent)
    : CDialog(IDD_INSTALL_DIALOG, parent), m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME)) {}

bool CInstallDlg::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    static const MessageMapEntry<CInstallDlg> map[] = {
        OnWmSysCommand(&CInstallDlg::OnSysCommand),        OnWmPaint(&CInstallDlg::OnPaint),
        OnWmQueryDragIcon(&CInstallDlg::OnQueryDragIcon),  OnWmTimer(&CInstallDlg::OnTimer),
        OnBnClicked(IDC_INSTALL, &CInstallDlg::RunWizard),
    };
    return DispatchMessageMap(this, map, msg, wp, lp, result) ||
           CDialog::OnWndMsg(msg, wp, lp, result);
}

BOOL CInstallDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE)) {
        // The string table is UTF-16: read and shown wide, it is right under
        // any system code page.
        wchar_t about[256] = {};
        if (::LoadStringW(AfxGetResourceHandle(), IDS_ABOUTBOX, about, 256) > 0) {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    return TRUE;
}

void CInstallDlg::OnSysCommand(UINT commandId, LPARAM) {
    if (qz::IsAboutCommand(commandId)) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();
}

void CInstallDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT client;
    GetClientRect(&client);
    const qz::IconOrigin origin =
        qz::CentreIcon(client.right - client.left, client.bottom - client.top,
                       ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
    ::DrawIcon(dc.GetSafeHdc(), origin.x, origin.y, m_hIcon);
}

HCURSOR CInstallDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void CInstallDlg::OnTimer(UINT_PTR) {
    Default();
}
