// The unattended mode's side of the extraction: shows nothing and waits for
// nobody. A running copy is not waited for, every message counts as
// acknowledged (and goes to the run's log), and progress goes nowhere.
#pragma once

#include <cstdint>
#include <string>

#include "common/run_log_win32.h"
#include "engine/extraction_ui.h"

namespace qz {

class SilentUi : public ExtractionUi {
  public:
    // `log` (which may never have been created) must outlive this object.
    explicit SilentUi(RunLog& log) : m_log(log) {}

    // FindWindowA without a class: a top-level window whose whole title is
    // kProductName, letter case ignored.
    bool ProductIsRunning() override;
    // Answers Cancel, and remembers that a running copy stopped the install.
    bool AskRunningCopy() override;
    void ShowMessage(const char* text) override;
    void SetRange(std::int32_t) override {}
    void SetPosition(std::int32_t) override {}
    void SetStatus(const std::string&) override {}

    // True once a running copy was found and not waited for.
    bool RunningCopySeen() const { return m_runningCopySeen; }

  private:
    RunLog& m_log;
    bool m_runningCopySeen = false;
};

}  // namespace qz
