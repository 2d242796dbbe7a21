#include "common/directory_chain.h"

#include "common/file_system.h"

namespace qz {

void CreateDirectoryChain(const std::string& path, FileSystem& fs, LeadByteTest isLead) {
    // Position 3 skips a drive root such as C:\, which is never created.
    for (std::size_t p = FindBackslash(path, 3, isLead); p != std::string::npos;
         p = FindBackslash(path, p + 1, isLead)) {
        fs.CreateDirectory(path.substr(0, p + 1));
    }
}

}  // namespace qz
