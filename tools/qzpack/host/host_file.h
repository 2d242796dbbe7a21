// Host files for the package tool: the package it reads or writes and the
// files it packs, named by host paths (not by package names). Reads answer
// short only at the end of the file or on an error, and small reads and
// writes are buffered. On POSIX the package is read and written through its
// descriptor, so that entries' bytes are copied by the kernel
// (WriteStream::CopyFrom); on Windows through a stdio stream.
#pragma once

#include <filesystem>
#include <memory>

#include "common/file_system.h"

namespace qz::pack {

// Opens a host file for reading; null on failure.
std::unique_ptr<ReadStream> OpenHostRead(const std::filesystem::path& path);
// Creates or truncates a host file for writing; null on failure.
std::unique_ptr<WriteStream> CreateHostWrite(const std::filesystem::path& path);
// Creates a new file for writing beside path, named path's name, ".part-"
// and twelve random hexadecimal digits, so that nobody can plant a file or
// link there beforehand; a name that exists already is never opened, another
// is tried. *made receives the file's path. Null on failure.
std::unique_ptr<WriteStream> CreateHostTemp(const std::filesystem::path& path,
                                            std::filesystem::path* made);

// Creates a host file that does not exist yet, for writing; a link at path
// is not followed. Null on failure, with errno EEXIST when something of that
// name exists.
std::unique_ptr<WriteStream> CreateNewHostWrite(const std::filesystem::path& path);

}  // namespace qz::pack
