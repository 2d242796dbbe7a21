// The setup executable's directory.
#pragma once

#include <string>

namespace qz {

// The full path of the running executable cut after its last backslash (the
// backslash kept), or empty when the path has none. Also makes that directory
// the process's current directory; whether that succeeds is not reported, and
// callers rely mostly on this effect (data.dat is opened by its relative name).
std::string GetModuleDir();

}  // namespace qz
