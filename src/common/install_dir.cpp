#include "common/install_dir.h"

namespace qz {

std::string g_strInstallDir;

}  // namespace qz
