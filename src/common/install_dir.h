// The install directory chosen on the directory page.
#pragma once

#include <string>

namespace qz {

// The absolute install directory, ending with a backslash once set; empty
// before. Written only by the directory page; read by the extraction worker,
// the shortcuts and the finish page.
extern std::string g_strInstallDir;

}  // namespace qz
