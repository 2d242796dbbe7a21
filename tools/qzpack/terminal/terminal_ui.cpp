#include "qzpack/terminal/terminal_ui.h"

#include "qzpack/host/host_text.h"

namespace qz::pack {

TerminalUi::TerminalUi(std::ostream& err, bool progress, std::string install_dir)
    : m_err(err), m_progress(err, progress), m_installDir(std::move(install_dir)) {}

void TerminalUi::ShowMessage(const char* text) {
    m_progress.Clear();
    m_err << "qzpack: " << GbkForDisplay(text) << '\n';
    m_err.flush();
    ++m_messages;
}

void TerminalUi::SetRange(std::int32_t upper) {
    m_progress.SetTotal(upper);
}

void TerminalUi::SetPosition(std::int32_t position) {
    m_progress.SetDone(position);
}

void TerminalUi::SetStatus(const std::string& text) {
    m_status = text;
    if (!m_progress.enabled()) {
        return;
    }
    const bool inside = text.compare(0, m_installDir.size(), m_installDir) == 0;
    m_progress.SetLabel(inside ? text.substr(m_installDir.size()) : text);
}

}  // namespace qz::pack
