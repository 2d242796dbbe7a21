// A one-line progress bar on a terminal: "[#####.....]  45%  label". Drawn
// only when enabled (stderr is a terminal), first after a short delay so that
// quick runs print nothing, then at most ten times a second.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace qz::pack {

// True when the standard error stream is a terminal.
bool StderrIsTerminal();

class TerminalProgress {
  public:
    TerminalProgress(std::ostream& out, bool enabled);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    bool enabled() const { return m_enabled; }
    void SetTotal(std::int64_t total);
    // label: a GBK package name, shown after the bar.
    void SetLabel(const std::string& label);
    void SetDone(std::int64_t done);
    // Erases the bar, so that a message can be printed on a clean line; the
    // next update draws it again.
    void Clear();

  private:
    void Draw();

    std::ostream& m_out;
    bool m_enabled;
    bool m_drawn = false;
    std::size_t m_lastLength = 0;  // bytes of the line on screen
    std::int64_t m_total = 0;
    std::int64_t m_done = 0;
    std::string m_label;
    std::chrono::steady_clock::time_point m_next;
};

}  // namespace qz::pack
