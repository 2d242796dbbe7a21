#include "robot/prefix_snapshot.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <map>

#include "robot/files.h"
#include "robot/report.h"

namespace robot {
namespace {

// FNV-1a over the bytes: enough to tell a changed file from an unchanged one.
std::string HashOf(const std::string& bytes) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%zu:%016llx", bytes.size(),
                  static_cast<unsigned long long>(hash));
    return text;
}

// A file's hash, read again only when its size or time of writing changed
// since the last snapshot of this run (Wine's system folder is large).
std::string FileHash(const std::string& path, const WIN32_FIND_DATAA& found) {
    struct Known {
        DWORD size_low, size_high, time_low, time_high;
        std::string hash;
    };
    static std::map<std::string, Known> known;
    const auto it = known.find(path);
    if (it != known.end() && it->second.size_low == found.nFileSizeLow &&
        it->second.size_high == found.nFileSizeHigh &&
        it->second.time_low == found.ftLastWriteTime.dwLowDateTime &&
        it->second.time_high == found.ftLastWriteTime.dwHighDateTime) {
        return it->second.hash;
    }
    bool ok = false;
    const std::string bytes = ReadWholeFile(path, &ok);
    const std::string hash = ok ? HashOf(bytes) : "unreadable";
    known[path] = {found.nFileSizeLow, found.nFileSizeHigh, found.ftLastWriteTime.dwLowDateTime,
                   found.ftLastWriteTime.dwHighDateTime, hash};
    return hash;
}

bool Skipped(const std::string& path, const std::vector<std::string>& skip) {
    for (const std::string& prefix : skip) {
        if (path.size() >= prefix.size() &&
            ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(),
                             static_cast<int>(prefix.size()), prefix.c_str(),
                             static_cast<int>(prefix.size())) == CSTR_EQUAL) {
            return true;
        }
    }
    return false;
}

void WalkFolder(const std::string& dir, const std::vector<std::string>& skip,
                PrefixSnapshot* snapshot) {
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((dir + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        const std::string path = dir + name;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (Skipped(path + "\\", skip)) {
                continue;
            }
            const bool link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            snapshot->items["D " + path] = link ? "link" : "";
            if (!link) {
                WalkFolder(path + "\\", skip, snapshot);
            }
        } else {
            snapshot->items["F " + path] = FileHash(path, found);
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}

// Keys nest at most this deep here; a deeper one is a loop of registry links.
constexpr int kMaxKeyDepth = 24;

void WalkKey(HKEY key, const std::string& path, int depth, PrefixSnapshot* snapshot) {
    snapshot->items["K " + path] = "";
    if (depth > kMaxKeyDepth) {
        return;
    }
    std::string name_buffer(16384, '\0');
    std::string data_buffer(65536, '\0');
    for (DWORD i = 0;; ++i) {
        char* name = &name_buffer[0];
        DWORD name_size = static_cast<DWORD>(name_buffer.size());
        DWORD type = 0;
        BYTE* data = reinterpret_cast<BYTE*>(&data_buffer[0]);
        DWORD data_size = static_cast<DWORD>(data_buffer.size());
        const LONG result =
            ::RegEnumValueA(key, i, name, &name_size, nullptr, &type, data, &data_size);
        if (result == ERROR_MORE_DATA) {
            snapshot->items["V " + path + "\\#" + std::to_string(i)] = "too large to compare";
            continue;
        }
        if (result != ERROR_SUCCESS) {
            break;
        }
        snapshot->items["V " + path + "\\" + name] =
            std::to_string(type) + ":" +
            HashOf(std::string(reinterpret_cast<const char*>(data), data_size));
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD name_size = sizeof name;
        const LONG result =
            ::RegEnumKeyExA(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS) {
            break;
        }
        // Software\Classes is the file types' registry, where nothing of the
        // product goes, and holds most of the keys: left out.
        if (depth == 0 && ::lstrcmpiA(name, "Classes") == 0) {
            continue;
        }
        HKEY sub = nullptr;
        if (::RegOpenKeyExA(key, name, 0, KEY_READ | KEY_WOW64_32KEY, &sub) == ERROR_SUCCESS) {
            WalkKey(sub, path + "\\" + name, depth + 1, snapshot);
            ::RegCloseKey(sub);
        }
    }
}

}  // namespace

PrefixSnapshot TakePrefixSnapshot(const std::vector<std::string>& skip) {
    PrefixSnapshot snapshot;
    WalkFolder("C:\\", skip, &snapshot);
    HKEY software = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ | KEY_WOW64_32KEY, &software) ==
        ERROR_SUCCESS) {
        WalkKey(software, "Software", 0, &snapshot);
        ::RegCloseKey(software);
    }
    Step("snapshot: " + std::to_string(snapshot.items.size()) + " files, folders, keys and values");
    return snapshot;
}

std::vector<std::string> CompareSnapshots(const PrefixSnapshot& before,
                                          const PrefixSnapshot& after) {
    std::vector<std::string> differences;
    for (const auto& item : before.items) {
        const auto now = after.items.find(item.first);
        if (now == after.items.end()) {
            differences.push_back("- " + item.first);
        } else if (now->second != item.second) {
            differences.push_back("~ " + item.first);
        }
    }
    for (const auto& item : after.items) {
        if (before.items.count(item.first) == 0) {
            differences.push_back("+ " + item.first);
        }
    }
    return differences;
}

std::vector<std::string> RobotsOwnFolders() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    return {"C:\\qz-e2e\\", WithSlash(temp)};
}

std::vector<std::string> PendingRemovals() {
    std::vector<std::string> paths;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                        0, KEY_READ, &key) != ERROR_SUCCESS) {
        return paths;
    }
    std::string data(65536, '\0');
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (::RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type,
                           reinterpret_cast<BYTE*>(&data[0]), &size) == ERROR_SUCCESS) {
        data.resize(size);
        // Pairs of names: the file, then its new name (empty: removed).
        for (std::size_t at = 0; at < data.size();) {
            const std::size_t end = data.find('\0', at);
            if (end == std::string::npos || end == at) {
                break;
            }
            paths.push_back(data.substr(at, end - at));
            const std::size_t second = data.find('\0', end + 1);
            at = second == std::string::npos ? data.size() : second + 1;
        }
    }
    ::RegCloseKey(key);
    return paths;
}

}  // namespace robot
