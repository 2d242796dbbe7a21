#include "differential/tree_comparison_win32.h"

#include <windows.h>

#include <map>
#include <set>
#include <tuple>

#include "common/constants.h"
#include "common/unique_handle_win32.h"
#include "robot/files.h"
#include "robot/report.h"

namespace qz::diff {
namespace {

using FileId = std::tuple<DWORD, DWORD, DWORD>;

// The identity of the file or folder at `path`: its volume and index.
bool IdOf(const std::string& path, bool folder, FileId* id) {
    HANDLE handle = ::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool got = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    const bool is_folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    *id = FileId(info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
    return got && is_folder == folder;
}

// The whole file at `path`, a full GBK path that may exceed the 259
// characters the narrow file functions take: qzpack's tree lies as deep as
// the build tree, and its deepest files lie deeper still by a name of up to
// 259 bytes. Opened as an extended-length path ("\\?\"). False when the file
// cannot be read.
bool ReadLongPath(const std::string& path, std::string* bytes) {
    const int n = ::MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, path.data(),
                                        static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    if (n == 0 || ::MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, path.data(),
                                        static_cast<int>(path.size()), &wide[0], n) != n) {
        return false;
    }
    UniqueHandle file(::CreateFileW((L"\\\\?\\" + wide).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
    if (!file) {
        return false;
    }
    bytes->clear();
    char buffer[65536];
    for (DWORD got = 0;; bytes->append(buffer, got)) {
        if (!::ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr)) {
            return false;
        }
        if (got == 0) {
            return true;
        }
    }
}

// The entry names of an install.log, in its order.
std::vector<std::string> LogNames(const std::string& log) {
    static const std::string kPrefix = "[FILE] ";
    std::vector<std::string> names;
    for (std::size_t at = 0; at < log.size();) {
        const std::size_t end = log.find("\r\n", at);
        if (end == std::string::npos || log.compare(at, kPrefix.size(), kPrefix) != 0) {
            break;
        }
        names.push_back(log.substr(at + kPrefix.size(), end - at - kPrefix.size()));
        at = end + 2;
    }
    return names;
}

// Every folder level of `name` (a GBK path), without its backslash.
std::vector<std::string> FolderLevels(const std::string& name) {
    std::vector<std::string> levels;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (::IsDBCSLeadByteEx(936, static_cast<BYTE>(name[i]))) {
            ++i;
        } else if (name[i] == '\\') {
            levels.push_back(name.substr(0, i));
        }
    }
    return levels;
}

}  // namespace

std::vector<std::string> TreeDifferences(const std::string& installed,
                                         const std::string& expected) {
    using robot::Printable;
    std::vector<std::string> out;
    std::string log;
    if (!ReadLongPath(expected + "install.log", &log)) {
        return {"qzpack extract left no install.log"};
    }
    if (robot::ReadWholeFile(installed + "install.log") != log) {
        out.push_back("install.log differs from qzpack's");
    }
    std::map<FileId, std::string> files;  // installed file -> the bytes it must hold
    std::set<FileId> folders;
    for (const std::string& name : LogNames(log)) {
        std::string bytes;
        FileId id;
        if (!ReadLongPath(expected + name, &bytes)) {
            out.push_back("qzpack extract left no readable " + Printable(name));
        } else if (!IdOf(installed + name, false, &id)) {
            out.push_back(Printable(name) + " was not installed");
        } else {
            files[id] = bytes;
        }
        for (const std::string& level : FolderLevels(name)) {
            if (IdOf(installed + level, true, &id)) {
                folders.insert(id);
            }
        }
    }
    for (const auto& [path, size] : robot::ListTree(installed)) {
        FileId id;
        if (path == "install.log") {
            continue;
        }
        if (size < 0) {
            const std::string folder = installed + path.substr(0, path.size() - 1);
            if (!IdOf(folder, true, &id) || folders.count(id) == 0) {
                out.push_back("installed folder " + Printable(path) + " belongs to no entry");
            }
        } else if (!IdOf(installed + path, false, &id) || files.count(id) == 0) {
            out.push_back("installed file " + Printable(path) + " belongs to no entry");
        } else if (robot::ReadWholeFile(installed + path) != files[id]) {
            out.push_back("installed file " + Printable(path) + " holds other bytes than qzpack's");
        }
    }
    return out;
}

}  // namespace qz::diff
