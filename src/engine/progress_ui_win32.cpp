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
    const std::size_t dirLength = m_installDir.size();
    if (dirLength == 0 || text.compare(0, dirLength, m_installDir) != 0) {
        m_status.SetWindowText(ScreenText().Path(text));
        return;
    }
    m_status.SetWindowText(ScreenText().Path(m_installDir).Fixed(text.substr(dirLength)));
}

}  // namespace qz
