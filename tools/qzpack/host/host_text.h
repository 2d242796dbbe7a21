// Text at the edge between the host and the package: the command line, host
// file names and what the terminal shows.
//
// Package names are GBK (code page 936) with backslash separators. On a POSIX
// host, file names and the terminal are taken to be UTF-8 and converted with
// iconv; on Windows, file names are wide and are converted with code page 936,
// and the console shows GBK as it stands.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qz::pack {

// The program's arguments (without the program name) as UTF-8; paths given
// there are made with std::filesystem::u8path.
std::vector<std::string> CommandLineUtf8(int argc, char** argv);

// One level of a host file name in GBK. False when the name cannot be
// represented in GBK exactly (or is not valid in the host's encoding).
bool HostNameToGbk(const std::filesystem::path& level, std::string* gbk);

// A GBK name as the terminal shows it; bytes that are not valid GBK appear
// as \xNN.
std::string GbkForDisplay(const std::string& gbk);

// A host path as the terminal shows it.
std::string PathForDisplay(const std::filesystem::path& path);

}  // namespace qz::pack
