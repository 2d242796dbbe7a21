// What the extraction needs from the user interface. The progress page carries
// these out with synchronous window messages, the package tool on a terminal,
// the tests with a recorder. Every call returns only when it has been handled.
#pragma once

#include <cstdint>
#include <string>

namespace qz {

class ExtractionUi {
  public:
    virtual ~ExtractionUi() = default;
    // A top-level window titled kProductName exists.
    virtual bool ProductIsRunning() = 0;
    // Shows kMsgRunningCopy (MB_OKCANCEL); true = OK, look again.
    virtual bool AskRunningCopy() = 0;
    // An MB_OK message; waits for the user.
    virtual void ShowMessage(const char* text) = 0;
    // Progress range 0..upper.
    virtual void SetRange(std::int32_t upper) = 0;
    virtual void SetPosition(std::int32_t position) = 0;
    // The full output path of the file being written.
    virtual void SetStatus(const std::string& text) = 0;
};

}  // namespace qz
