// What the removal needs from the user interface: the uninstaller's progress
// window carries these out with synchronous window messages, the unattended
// mode shows nothing, the tests record them. Every call returns only when it
// has been handled.
#pragma once

#include <cstdint>
#include <string>

namespace qz {

class UninstallUi {
  public:
    virtual ~UninstallUi() = default;
    // A top-level window titled kProductName exists.
    virtual bool ProductIsRunning() = 0;
    // Asks the uninstaller's running-copy question; true = closed, look again.
    virtual bool AskRunningCopy() = 0;
    // Progress range 0..upper, in items.
    virtual void SetRange(std::int32_t upper) = 0;
    virtual void SetPosition(std::int32_t position) = 0;
    // The full path of the file being removed.
    virtual void SetStatus(const std::string& text) = 0;
};

// Reading the target of a shell link (.lnk), so that only the links that point
// into this installation are removed.
class LinkTargets {
  public:
    virtual ~LinkTargets() = default;
    // Stores the target path of the link file `link` in *target. Returns false
    // when there is no such file or it cannot be read as a link.
    virtual bool ReadTarget(const std::string& link, std::string* target) = 0;
};

}  // namespace qz
