#include "support/recording_ui.h"

namespace qz::test {
namespace {

bool Next(std::deque<bool>& script) {
    if (script.empty()) {
        return false;
    }
    const bool answer = script.front();
    script.pop_front();
    return answer;
}

}  // namespace

bool RecordingUi::ProductIsRunning() {
    calls.push_back("running");
    ++running_checks;
    return Next(running);
}

bool RecordingUi::AskRunningCopy() {
    calls.push_back("ask");
    ++questions;
    return Next(answers);
}

void RecordingUi::ShowMessage(const char* text) {
    calls.push_back("message");
    messages.push_back(text);
}

void RecordingUi::SetRange(std::int32_t upper) {
    calls.push_back("range");
    ranges.push_back(upper);
}

void RecordingUi::SetPosition(std::int32_t position) {
    calls.push_back("position");
    positions.push_back(position);
}

void RecordingUi::SetStatus(const std::string& text) {
    calls.push_back("status");
    statuses.push_back(text);
}

}  // namespace qz::test
