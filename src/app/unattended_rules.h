// The unattended mode's rules, kept free of Win32 so that they can be tested
// anywhere: how the command line selects it, and which exit code each outcome
// of the installation gives.
#pragma once

#include <string>

#include "common/constants.h"

namespace qz {

enum ExtractResult : int;  // engine/extractor.h

struct UnattendedRequest {
    enum Mode { kWizard, kInstall, kUnknownOption } mode = kWizard;
    // With kInstall: true when /LOG= named a log file, which is then `log`.
    bool hasLog = false;
    std::string log;
    // With kInstall: true when /D= named the directory, which is then `dir`.
    bool hasDir = false;
    std::string dir;
};

// Reads the command line after the program's name (WinMain's lpCmdLine). Only
// a first argument "/S" (any letter case) selects the unattended mode; anything
// else is the wizard. After /S come, each at most once and in this order,
// "/LOG=FILE" and "/D=DIR" (option names in any letter case); anything else
// gives kUnknownOption. Each value may be quoted, as deployment tools quote an
// argument that holds spaces: "/D=C:\My Apps" and /D="C:\My Apps" both give
// C:\My Apps, provided nothing but blanks follows the closing quote of /D= and
// a blank or the end follows that of /LOG=. Unquoted, FILE ends at the next
// blank, while DIR takes the rest of the line as it stands, spaces and quotes
// included.
UnattendedRequest ParseCommandLine(const std::string& commandLine);

// The exit code for the extraction's result. kExtractAbandoned means either that data.dat could not
// be opened or that a running copy was not waited for; `runningCopySeen` tells which.
int UnattendedExitCode(ExtractResult extractResult, bool runningCopySeen);

}  // namespace qz
