// Starting and watching the programs under test.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace robot {

// Environment changes for a child: name -> value; a value of nullptr-like
// kUnset removes the variable.
extern const char kUnset[];
using EnvChanges = std::map<std::string, std::string>;

// The changes that give a new process ProgramFiles = `value` (kUnset: none).
// A process rebuilds its ProgramFiles from ProgramW6432 (64-bit) or
// ProgramFiles(x86) (32-bit on a 64-bit system) as it starts, so all three
// carry the value.
EnvChanges ProgramFilesEnv(const std::string& value);

class Process {
  public:
    Process() = default;
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts `exe` with `arguments` in `directory` with the robot's environment
    // plus `changes`. Returns false when the program cannot be started.
    bool Start(const std::string& exe, const std::string& arguments, const std::string& directory,
               const EnvChanges& changes = {});
    // Waits up to `ms`; true when the process has ended.
    bool WaitExit(DWORD ms) const;
    bool Running() const { return m_process != nullptr && !WaitExit(0); }
    // The exit code, STILL_ACTIVE while running.
    DWORD ExitCode() const;
    DWORD Id() const { return m_id; }
    // Ends the process if it still runs (cleanup after a failed scenario).
    void Kill();

  private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// Runs a console program to its end; returns its exit code, or -1 when it
// could not be started or did not end within `ms`. Its output goes to `log`.
int RunToEnd(const std::string& exe, const std::string& arguments, const std::string& directory,
             DWORD ms, const std::string& log);

}  // namespace robot
