// A running copy of the product: a window titled like it, as the installer
// looks for one before it writes.
#pragma once

#include <windows.h>

#include <string>

#include "robot/process.h"

namespace robot {

// The payload's ravik.exe, started by the robot itself in `workDir` (its
// starts recorded in workDir\copy-launch.log); the scenario ends when it does
// not show its window titled Qorvane. Ended when the object goes.
class RunningCopy {
  public:
    explicit RunningCopy(const std::string& workDir);
    ~RunningCopy() { m_process.Kill(); }
    RunningCopy(const RunningCopy&) = delete;
    RunningCopy& operator=(const RunningCopy&) = delete;

    // Closes the window as a person would and checks that the copy ends.
    void Close();

  private:
    Process m_process;
    HWND m_window = nullptr;
};

}  // namespace robot
