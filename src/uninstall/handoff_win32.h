// What the uninstaller that was started tells its working copy, and what the
// copy answers, through anonymous pipes the copy inherits as its standard
// input and output: never through the copy's command line.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace qz {

struct Handoff {
    std::string install_dir;  // the folder of the uninstall.exe started, ends with a backslash
    bool silent = false;      // /S
    // The starting process (SYNCHRONIZE and reading its exit code), inherited.
    HANDLE parent = nullptr;
    // The /LOG= file the starting process created, inherited; null: none.
    HANDLE log = nullptr;
};

// Writes `handoff` to `pipe`. Returns true when every byte was written.
bool SendHandoff(HANDLE pipe, const Handoff& handoff);
// Reads a handoff from `pipe` until its end. Returns false, leaving *handoff
// alone, unless the pipe held exactly one well-formed handoff whose directory
// ends with a backslash and fits a path.
bool ReceiveHandoff(HANDLE pipe, Handoff* handoff);

// The copy's outcome (an UninstallExit), four bytes.
bool SendOutcome(HANDLE pipe, std::uint32_t outcome);
// Returns false when the pipe ended before four bytes came.
bool ReceiveOutcome(HANDLE pipe, std::uint32_t* outcome);

}  // namespace qz
