#include "qzpack/terminal/terminal_progress.h"

#include "qzpack/host/host_text.h"

namespace qz::pack {
namespace {

constexpr auto kFirstDrawDelay = std::chrono::milliseconds(300);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kBarWidth = 30;
constexpr std::size_t kLabelWidth = 40;

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& out, bool enabled)
    : m_out(out), m_enabled(enabled), m_next(std::chrono::steady_clock::now() + kFirstDrawDelay) {}

TerminalProgress::~TerminalProgress() {
    if (m_drawn) {
        // Leave the last state on screen.
        Draw();
        m_out << '\n';
        m_out.flush();
    }
}

void TerminalProgress::SetTotal(std::int64_t total) {
    m_total = total;
}

void TerminalProgress::SetLabel(const std::string& label) {
    if (m_enabled) {
        m_label = label;
    }
}

void TerminalProgress::SetDone(std::int64_t done) {
    m_done = done;
    if (!m_enabled) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= m_next) {
        m_next = now + kRedrawInterval;
        Draw();
    }
}

void TerminalProgress::Clear() {
    if (m_drawn) {
        m_out << '\r' << std::string(m_lastLength, ' ') << '\r';
        m_lastLength = 0;
        m_out.flush();
        m_drawn = false;
    }
}

void TerminalProgress::Draw() {
    const int percent =
        m_total > 0 ? static_cast<int>(m_done * 100 / m_total) : (m_done > 0 ? 100 : 0);
    const int filled = percent * kBarWidth / 100;
    std::string label = GbkForDisplay(m_label);
    // Keep the line short; cut at a UTF-8 character start.
    if (label.size() > kLabelWidth) {
        std::size_t cut = label.size() - kLabelWidth;
        while (cut < label.size() && (static_cast<unsigned char>(label[cut]) & 0xC0) == 0x80) {
            ++cut;
        }
        label = "..." + label.substr(cut);
    }
    std::string line = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') +
                       "] " + std::to_string(percent) + "%  " + label;
    // Spaces over what is left of a longer line before (a UTF-8 line is never
    // wider on screen than it is long in bytes).
    const std::size_t length = line.size();
    if (length < m_lastLength) {
        line.append(m_lastLength - length, ' ');
    }
    m_lastLength = length;
    m_out << '\r' << line;
    m_out.flush();
    m_drawn = true;
}

}  // namespace qz::pack
