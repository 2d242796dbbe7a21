// Host files for the package tool: the package it reads or writes and the
// files it packs, named by host paths (not by package names).
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>

#include "common/file_system.h"

namespace qz::pack {

// Opens a host file for reading; null on failure.
std::unique_ptr<ReadStream> OpenHostRead(const std::filesystem::path& path);
// Creates or truncates a host file for writing; null on failure.
std::unique_ptr<WriteStream> CreateHostWrite(const std::filesystem::path& path);

// fopen of a host path ("rb" or "wb"), wide on Windows. Null on failure.
std::FILE* OpenHostFile(const std::filesystem::path& path, const char* mode);

}  // namespace qz::pack
