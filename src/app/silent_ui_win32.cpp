#include "app/silent_ui_win32.h"

#include <windows.h>

#include "common/texts.h"

namespace qz {

bool SilentUi::ProductIsRunning() {
    return ::FindWindowA(nullptr, kProductName) != nullptr;
}

bool SilentUi::AskRunningCopy() {
    m_runningCopySeen = true;
    m_log.Event(kRunLogRunningCopy);
    return false;
}

void SilentUi::ShowMessage(const char* text) {
    m_log.FixedEvent(kRunLogMessage, text);
}

}  // namespace qz
