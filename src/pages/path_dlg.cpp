#include "pages/path_dlg.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <string>

#include "common/ansi_code_page.h"
#include "common/constants.h"
#include "common/install_dir.h"
#include "common/install_path_rules.h"
#include "common/module_dir.h"
#include "common/texts.h"
#include "framework/handles.h"
#include "framework/item_list.h"
#include "framework/message_box.h"
#include "framework/message_map.h"
#include "framework/screen_text.h"
#include "res/resource.h"

CPathDlg::CPathDlg(CWnd* parent) : CDialog(IDD_PATH, parent) {}

bool CPathDlg::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    static const MessageMapEntry<CPathDlg> map[] = {
        OnBnClicked(IDC_BROWSE, &CPathDlg::OnBrowse),
    };
    return DispatchMessageMap(this, map, msg, wp, lp, result) ||
           CDialog::OnWndMsg(msg, wp, lp, result);
}

void CPathDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_SPACE_INFO, m_stcSpace);
    DDX_Control(dx, IDC_INSTALL_PATH, m_editPath);
}

BOOL CPathDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
    qz::GetModuleDir();

    char buffer[qz::kDefaultPathBufferSize] = {};
    const DWORD returned =
        ::GetEnvironmentVariableA(qz::kProgramFilesVariable, buffer, sizeof(buffer));
    m_editPath.SetWindowText(ScreenText().Path(
        qz::DefaultInstallDir(buffer, sizeof(buffer), returned, qz::IsAnsiLeadByte)));
    return TRUE;
}

void CPathDlg::OnBrowse() {
    const ComApartment com;
    // The browser shows its title wide; the chosen folder is read back as a
    // narrow path in the system's code page, like every path of the program.
    const ScreenText title = ScreenText().Fixed(qz::kBrowseTitle);
    wchar_t displayName[qz::kMaxPath] = {};
    BROWSEINFOW info{};
    info.hwndOwner = m_hWnd;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.Wide().c_str();
    info.ulFlags = 0;
    info.lpfn = nullptr;
    info.lParam = 0;
    UniqueItemList chosen(::SHBrowseForFolderW(&info));
    if (!chosen) {
        return;
    }
    char buffer[qz::kMaxPath] = {};
    const bool converted = ::SHGetPathFromIDListA(chosen.get(), buffer) != FALSE;
    const bool freed = chosen.Free();
    const std::string folder(buffer, std::find(buffer, buffer + sizeof(buffer), '\0'));
    if (!converted || !freed || folder.empty()) {
        return;
    }
    m_editPath.SetWindowText(
        ScreenText().Path(qz::AppendProductFolder(folder, qz::IsAnsiLeadByte)));
    qz::GetModuleDir();
}

void CPathDlg::OnOK() {
    const std::string typed = m_editPath.GetWindowText();
    if (!qz::IsValidInstallPath(typed)) {
        AfxMessageBox(qz::kMsgInvalidPath, MB_OK);
        return;
    }
    // The edit keeps what the user typed; only the stored path gets the separator.
    const std::string path = qz::WithTrailingSeparator(typed, qz::IsAnsiLeadByte);
    const qz::ConfirmPathText confirm = qz::ConfirmPathMessage(path);
    const ScreenText question =
        ScreenText().Fixed(confirm.before).Path(confirm.path).Fixed(confirm.after);
    if (AfxMessageBox(question, MB_YESNO | MB_ICONINFORMATION) == IDNO) {
        return;
    }
    qz::g_strInstallDir = path;
    CDialog::OnOK();
}
