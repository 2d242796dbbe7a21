#include "uninstall/uninstall_ui_win32.h"

#include <windows.h>

#include "common/texts.h"
#include "framework/message_box.h"
#include "framework/screen_text.h"
#include "integration/link_target_win32.h"

namespace qz {

bool WindowUninstallUi::ProductIsRunning() {
    return ::FindWindowA(nullptr, kProductName) != nullptr;
}

bool WindowUninstallUi::AskRunningCopy() {
    return AfxMessageBox(kMsgUninstallRunningCopy, MB_OKCANCEL) == IDOK;
}

void WindowUninstallUi::SetRange(std::int32_t upper) {
    m_progress.SetRange32(0, upper);
}

void WindowUninstallUi::SetPosition(std::int32_t position) {
    m_progress.SetPos(position);
}

void WindowUninstallUi::SetStatus(const std::string& text) {
    m_status.SetWindowText(ScreenText().PathBelow(m_installDir, text));
}

bool SilentUninstallUi::ProductIsRunning() {
    return ::FindWindowA(nullptr, kProductName) != nullptr;
}

bool SilentUninstallUi::AskRunningCopy() {
    m_log.Event(kRunLogUninstallRunningCopy);
    return false;
}

bool ShellLinkTargets::ReadTarget(const std::string& link, std::string* target) {
    return ReadLinkTarget(link, target);
}

}  // namespace qz
