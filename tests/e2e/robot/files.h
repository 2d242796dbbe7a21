// File and environment helpers of the robot. Paths are Windows paths (GBK).
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace robot {

// A Unix path handed over by ctest, as Wine sees it (Z:\...).
std::string FromUnixPath(const std::string& unixPath);
// An environment variable's value; empty when not set.
std::string Env(const char* name);
// An environment variable holding a Unix path, converted; ends the scenario
// when it is not set.
std::string RequiredPathEnv(const char* name);

bool FileExists(const std::string& path);
bool DirExists(const std::string& path);
// The whole file; `*ok` false (and "" returned) when it cannot be read.
std::string ReadWholeFile(const std::string& path, bool* ok = nullptr);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool CopyOneFile(const std::string& from, const std::string& to);
// Creates every level of `dir` (a trailing backslash is optional).
bool MakeDirs(const std::string& dir);
void RemoveTree(const std::string& dir);
// Every file below `dir`: relative path -> size; directories end with "\"
// and map to -1.
std::map<std::string, std::int64_t> ListTree(const std::string& dir);
// `dir` with exactly one trailing backslash.
std::string WithSlash(const std::string& dir);

// A file held open without sharing (share mode 0), as a running program holds
// its files: nobody else can open it while the hold lives. The file is made
// when it does not exist; the scenario ends when it cannot be held.
class FileHold {
  public:
    explicit FileHold(const std::string& path);
    ~FileHold();
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;

    void Release();

  private:
    void* m_file;  // the file's HANDLE
};

}  // namespace robot
