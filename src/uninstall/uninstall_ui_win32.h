// The two user interfaces of the removal: the progress window's, carried out
// from its worker thread with synchronous messages, and the unattended one,
// which shows nothing and never waits for a running copy.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "common/run_log_win32.h"
#include "framework/controls.h"
#include "uninstall/uninstall_ui.h"

namespace qz {

class WindowUninstallUi : public UninstallUi {
  public:
    // Both controls belong to the window and must outlive this object.
    WindowUninstallUi(const CStatic& status, const CProgressCtrl& progress, std::string installDir)
        : m_status(status), m_progress(progress), m_installDir(std::move(installDir)) {}

    // FindWindowA without a class: a top-level window titled kProductName.
    bool ProductIsRunning() override;
    // kMsgUninstallRunningCopy with OK and Cancel; true only for OK.
    bool AskRunningCopy() override;
    void SetRange(std::int32_t upper) override;
    void SetPosition(std::int32_t position) override;
    // The install directory (the system's code page) and the listed name (GBK).
    void SetStatus(const std::string& text) override;

  private:
    const CStatic& m_status;
    const CProgressCtrl& m_progress;
    const std::string m_installDir;
};

class SilentUninstallUi : public UninstallUi {
  public:
    // `log` must outlive this object.
    explicit SilentUninstallUi(RunLog& log) : m_log(log) {}
    bool ProductIsRunning() override;
    // Never waits: logs that the removal stopped and returns false.
    bool AskRunningCopy() override;
    void SetRange(std::int32_t) override {}
    void SetPosition(std::int32_t) override {}
    void SetStatus(const std::string&) override {}

  private:
    RunLog& m_log;
};

// The shell's link object as the plan's reader of link targets.
class ShellLinkTargets : public LinkTargets {
  public:
    bool ReadTarget(const std::string& link, std::string* target) override;
};

}  // namespace qz
