// Setting up a scenario's package: a folder of its own for it, its bytes
// written there, the options that put it beside Install.exe.
#pragma once

#include <initializer_list>
#include <string>

#include "robot/installer.h"

namespace robot {

// A fresh folder for the scenario's package (C:\qz-e2e\<scenario>-package\),
// outside the folder the installer run clears; ends the scenario when it
// cannot be made.
std::string PackageFolder();
// Writes `bytes` as the scenario's data.dat and returns its path.
std::string WritePackage(const std::string& bytes);
// Packs the files `names` (each holding its own name) with qzpack.exe and
// returns the package's path.
std::string PackNamedFiles(const std::initializer_list<const char*>& names);
// Setup options with `package` as the data.dat beside Install.exe.
SetupOptions WithPackage(const std::string& package);

}  // namespace robot
