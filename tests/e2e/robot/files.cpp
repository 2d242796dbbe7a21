#include "robot/files.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "robot/report.h"

namespace robot {

std::string FromUnixPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string Env(const char* name) {
    const DWORD size = ::GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return std::string();
    std::vector<char> buffer(size);
    const DWORD length = ::GetEnvironmentVariableA(name, buffer.data(), size);
    return std::string(buffer.data(), length < size ? length : 0);
}

std::string RequiredPathEnv(const char* name) {
    const std::string value = Env(name);
    Require(!value.empty(), Format("environment variable %s is set", name));
    return FromUnixPath(value);
}

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadWholeFile(const std::string& path, bool* ok) {
    if (ok)
        *ok = false;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    bool good = true;
    while (true) {
        if (!::ReadFile(file, buffer, sizeof(buffer), &got, nullptr)) {
            good = false;
            break;
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    ::CloseHandle(file);
    if (ok)
        *ok = good;
    return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    size_t done = 0;
    bool good = true;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD piece = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        if (!::WriteFile(file, bytes.data() + done, piece, &wrote, nullptr) || wrote == 0) {
            good = false;
            break;
        }
        done += wrote;
    }
    return ::CloseHandle(file) && good;
}

bool CopyOneFile(const std::string& from, const std::string& to) {
    return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

std::string WithSlash(const std::string& dir) {
    std::string d = dir;
    while (!d.empty() && (d.back() == '\\' || d.back() == '/'))
        d.pop_back();
    return d + "\\";
}

bool MakeDirs(const std::string& dir) {
    const std::string d = WithSlash(dir);
    // Step over double-byte characters of the ANSI code page the A functions
    // read the path in: a GBK trail byte 0x5C is no separator under 936, while
    // under 1252 every 0x5C is one.
    for (size_t p = 0; p < d.size(); ++p) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(d[p])) && p + 1 < d.size()) {
            ++p;
        } else if (d[p] == '\\' && p >= 3) {
            ::CreateDirectoryA(d.substr(0, p).c_str(), nullptr);
        }
    }
    return DirExists(d);
}

void RemoveTree(const std::string& dir) {
    const std::string base = WithSlash(dir);
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((base + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(base + name);
            } else {
                ::SetFileAttributesA((base + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA((base + name).c_str());
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(base.substr(0, base.size() - 1).c_str());
}

namespace {

void ListInto(const std::string& base, const std::string& relative,
              std::map<std::string, std::int64_t>& out) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((base + relative + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[relative + name + "\\"] = -1;
            ListInto(base, relative + name + "\\", out);
        } else {
            out[relative + name] =
                (static_cast<std::int64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}

}  // namespace

std::map<std::string, std::int64_t> ListTree(const std::string& dir) {
    std::map<std::string, std::int64_t> out;
    ListInto(WithSlash(dir), "", out);
    return out;
}

FileHold::FileHold(const std::string& path)
    : m_file(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr)) {
    Require(m_file != INVALID_HANDLE_VALUE, "the robot holds " + Printable(path));
}

FileHold::~FileHold() {
    Release();
}

void FileHold::Release() {
    if (m_file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
}

}  // namespace robot
