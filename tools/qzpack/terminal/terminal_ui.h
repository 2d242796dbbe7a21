// The extraction's user interface on a terminal: messages go to the error
// stream (converted for the terminal), progress is a bar when that stream is a
// terminal. No product window can run beside the package tool, so nothing ever
// waits for one.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "engine/extraction_ui.h"
#include "qzpack/terminal/terminal_progress.h"

namespace qz::pack {

class TerminalUi : public ExtractionUi {
  public:
    // install_dir: the prefix of every status path, cut off for display.
    TerminalUi(std::ostream& err, bool progress, std::string install_dir);

    bool ProductIsRunning() override { return false; }
    bool AskRunningCopy() override { return false; }
    void ShowMessage(const char* text) override;
    void SetRange(std::int32_t upper) override;
    void SetPosition(std::int32_t position) override;
    void SetStatus(const std::string& text) override;

    // Messages shown so far, for the caller's summary.
    int messages() const { return m_messages; }
    // The last status: the full path of the file being written.
    const std::string& status() const { return m_status; }

  private:
    std::ostream& m_err;
    TerminalProgress m_progress;
    std::string m_installDir;
    std::string m_status;
    int m_messages = 0;
};

}  // namespace qz::pack
