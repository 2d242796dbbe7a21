// An ExtractionUi that plays a script for the running-copy question and
// records every call, for the extraction tests.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "engine/extraction_ui.h"

namespace qz::test {

class RecordingUi : public ExtractionUi {
  public:
    // Answers of ProductIsRunning in turn; false once they run out.
    std::deque<bool> running;
    // Answers of AskRunningCopy in turn (true = OK); false once they run out.
    std::deque<bool> answers;

    int running_checks = 0;
    int questions = 0;
    std::vector<std::string> messages;
    std::vector<std::int32_t> ranges;
    std::vector<std::int32_t> positions;
    std::vector<std::string> statuses;
    // Every call in order: "running", "ask", "message", "range", "position", "status".
    std::vector<std::string> calls;

    bool ProductIsRunning() override;
    bool AskRunningCopy() override;
    void ShowMessage(const char* text) override;
    void SetRange(std::int32_t upper) override;
    void SetPosition(std::int32_t position) override;
    void SetStatus(const std::string& text) override;
};

}  // namespace qz::test
