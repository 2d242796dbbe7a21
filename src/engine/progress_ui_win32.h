// The progress page's side of the extraction: the five user-interface
// operations and the running-copy query, carried out from the worker thread
// with synchronous calls that the page's thread handles.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "engine/extraction_ui.h"
#include "framework/controls.h"

namespace qz {

class ProgressPageUi : public ExtractionUi {
  public:
    // Both controls belong to the page and must outlive this object;
    // `installDir` is the directory the job installs into.
    ProgressPageUi(const CStatic& status, const CProgressCtrl& progress, std::string installDir)
        : m_status(status), m_progress(progress), m_installDir(std::move(installDir)) {}

    // FindWindowA without a class: a top-level window whose whole title is
    // kProductName, letter case ignored.
    bool ProductIsRunning() override;
    // kMsgRunningCopy with OK and Cancel; true only for OK.
    bool AskRunningCopy() override;
    // An OK-only message box; returns when the user has closed it.
    void ShowMessage(const char* text) override;
    // PBM_SETRANGE32 (0, upper) and PBM_SETPOS, sent to the progress bar.
    void SetRange(std::int32_t upper) override;
    void SetPosition(std::int32_t position) override;
    // WM_SETTEXT, sent to the status line. The path is the install directory
    // (the system's code page) followed by the package's name of the file
    // (GBK): each part is converted from its own code page. A path outside
    // the install directory is shown as a path of the system.
    void SetStatus(const std::string& text) override;

  private:
    const CStatic& m_status;
    const CProgressCtrl& m_progress;
    const std::string m_installDir;
};

}  // namespace qz
