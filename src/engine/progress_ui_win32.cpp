#include "engine/progress_ui_win32.h"

#include <windows.h>

#include "common/texts.h"
#include "framework/message_box.h"
#include "framework/screen_text.h"

namespace qz {

bool ProgressPageUi::ProductIsRunning() {
    return ::FindWindowA(nullptr, kProductName) != nullptr;
}

bool ProgressPageUi::AskRunningCopy() {
    return AfxMessageBox(kMsgRunningCopy, MB_OKCANCEL) == IDOK;
}

void ProgressPageUi::ShowMessage(const char* text) {
    AfxMessageBox(text, MB_OK);
}

void ProgressPageUi::SetRange(std::int32_t upper) {
    m_progress.SetRange32(0, upper);
}

void ProgressPageUi::SetPosition(std::int32_t position) {
    m_progress.SetPos(position);
}

void ProgressPageUi::SetStatus(const std::string& text) {
    m_status.SetWindowText(ScreenText().PathBelow(m_installDir, text));
}

}  // namespace qz
