#include "integration/link_target_win32.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "common/constants.h"
#include "framework/handles.h"

namespace qz {

bool ReadLinkTarget(const std::string& link, std::string* target) {
    ComPtr<IShellLinkA> shell_link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  shell_link.put_void())) ||
        !shell_link) {
        return false;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(shell_link->QueryInterface(IID_IPersistFile, file.put_void())) || !file) {
        return false;
    }
    wchar_t wide[kMaxPath] = {};
    if (::MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, kMaxPath) == 0 ||
        FAILED(file->Load(wide, STGM_READ))) {
        return false;
    }
    char path[kMaxPath] = {};
    if (FAILED(shell_link->GetPath(path, kMaxPath, nullptr, SLGP_RAWPATH))) {
        return false;
    }
    path[kMaxPath - 1] = '\0';
    *target = path;
    return true;
}

}  // namespace qz
