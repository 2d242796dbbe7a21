#include "robot/system_state.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "robot/files.h"
#include "robot/report.h"

namespace robot {

const char kProductKey[] = "software\\tarnwell\\velmira";
const char kVendorKey[] = "software\\tarnwell";

RegValue ReadMachineValue(const std::string& key, const std::string& name) {
    RegValue value;
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &handle) !=
        ERROR_SUCCESS) {
        return value;
    }
    DWORD size = 0;
    DWORD type = 0;
    if (::RegQueryValueExA(handle, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size + 1);
        if (::RegQueryValueExA(handle, name.c_str(), nullptr, &type, data.data(), &size) ==
            ERROR_SUCCESS) {
            value.present = true;
            value.type = type;
            value.bytes.assign(reinterpret_cast<const char*>(data.data()), size);
        }
    }
    ::RegCloseKey(handle);
    return value;
}

bool MachineKeyExists(const std::string& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &handle) !=
        ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(handle);
    return true;
}

void DeleteMachineKey(const std::string& key) {
    HKEY parent = nullptr;
    const size_t slash = key.rfind('\\');
    const std::string parentPath = slash == std::string::npos ? "" : key.substr(0, slash);
    const std::string leaf = slash == std::string::npos ? key : key.substr(slash + 1);
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, parentPath.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                        &parent) == ERROR_SUCCESS) {
        ::RegDeleteTreeA(parent, leaf.c_str());
        ::RegCloseKey(parent);
    }
}

Shortcut ReadShortcut(const std::string& lnkPath) {
    Shortcut result;
    ::CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link)))) {
        return result;
    }
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[1024];
        if (::MultiByteToWideChar(CP_ACP, 0, lnkPath.c_str(), -1, wide, 1024) > 0 &&
            SUCCEEDED(file->Load(wide, STGM_READ))) {
            char buffer[1024] = {};
            result.loaded = true;
            if (SUCCEEDED(link->GetPath(buffer, sizeof(buffer), nullptr, SLGP_RAWPATH))) {
                result.target = buffer;
            }
            buffer[0] = '\0';
            if (SUCCEEDED(link->GetWorkingDirectory(buffer, sizeof(buffer)))) {
                result.workingDirectory = buffer;
            }
            buffer[0] = '\0';
            if (SUCCEEDED(link->GetDescription(buffer, sizeof(buffer)))) {
                result.description = buffer;
            }
            IShellLinkW* wideLink = nullptr;
            if (SUCCEEDED(
                    link->QueryInterface(IID_IShellLinkW, reinterpret_cast<void**>(&wideLink)))) {
                wchar_t text[1024] = {};
                if (SUCCEEDED(wideLink->GetDescription(text, 1024)))
                    result.wideDescription = text;
                wideLink->Release();
            }
        }
        file->Release();
    }
    link->Release();
    return result;
}

namespace {

std::string SpecialFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)))
        return std::string();
    return path;
}

}  // namespace

std::string DesktopFolder() {
    return SpecialFolder(CSIDL_DESKTOPDIRECTORY);
}

std::string ProgramsFolder() {
    return SpecialFolder(CSIDL_PROGRAMS);
}

Footprint TakeFootprint(const std::string& setupDir, const std::string& installDir) {
    Footprint footprint;
    footprint.setupDir = ListTree(setupDir);
    footprint.desktop = ListTree(DesktopFolder());
    footprint.programs = ListTree(ProgramsFolder());
    if (!installDir.empty())
        footprint.installDir = ListTree(installDir);
    footprint.vendorKey = MachineKeyExists(kVendorKey);
    return footprint;
}

namespace {

void CompareTrees(const std::map<std::string, std::int64_t>& before,
                  const std::map<std::string, std::int64_t>& after, const char* where) {
    for (const auto& entry : after) {
        auto it = before.find(entry.first);
        Check(it != before.end() && it->second == entry.second,
              Format("%s: \"%s\" was not written", where, Printable(entry.first).c_str()));
    }
    for (const auto& entry : before) {
        Check(after.count(entry.first) == 1,
              Format("%s: \"%s\" is still there", where, Printable(entry.first).c_str()));
    }
}

}  // namespace

void CheckUntouched(const Footprint& before, const Footprint& after) {
    CompareTrees(before.setupDir, after.setupDir, "setup folder");
    CompareTrees(before.desktop, after.desktop, "desktop");
    CompareTrees(before.programs, after.programs, "Programs menu");
    CompareTrees(before.installDir, after.installDir, "install directory");
    Check(before.vendorKey == after.vendorKey, "the registry record is untouched");
}

}  // namespace robot
