#include "common/directory_chain.h"
#include "common/ansi_code_page.h"
#include "common/file_system_win32.h"

namespace qz {

void CreateDirectoryChain(const std::string& path) {
    Win32FileSystem fs;
    CreateDirectoryChain(path, fs, IsAnsiLeadByte);
}

}  // namespace qz
