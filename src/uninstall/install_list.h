// Reading install.log, the list of installed files, before anything is
// removed. The list is taken whole or not at all: every line must be
// "[FILE] " + a name + CR LF, and every name must be one the installer itself
// accepts (entry_rules.h) in the code page the names are opened in, and fit,
// with the install directory before it, in the longest path the file layer
// takes. An empty file is a list of no files.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "engine/entry_rules.h"
#include "engine/name_code_page.h"

namespace qz {

// install.log may hold at most this many bytes; a longer one is refused.
constexpr std::size_t kMaxListBytes = 16u << 20;

enum class ListStatus {
    kOk,
    kMissing,     // no install.log (ReadInstallList only)
    kUnreadable,  // it could not be opened or read, or is too large
    kBadLine,     // a line without the prefix or CR LF, or holding a NUL
    kBadName,     // a name the entry rules refuse (see InstallList::name)
    kNoRoom,      // install directory + name longer than the longest path
};

struct InstallList {
    ListStatus status = ListStatus::kOk;
    std::size_t bad_line = 0;         // 1-based line at fault
    NameCheck name = NameCheck::kOk;  // why its name was refused (kBadName)
    std::vector<std::string> names;   // in the order of the file (kOk only)
};

// Parses the bytes of install.log for the install directory `install_dir`
// (ends with a backslash).
InstallList ParseInstallList(const std::string& bytes, const std::string& install_dir,
                             const NameCodePage& code_page, std::size_t longest_path);

// Reads `stream` whole into *bytes, at most kMaxListBytes of them. Returns
// false on a read error or a longer file.
bool ReadWholeList(ReadStream& stream, std::string* bytes);

// The line install.log holds for `name`: "[FILE] name" + CR LF.
std::string ListLine(const std::string& name);

}  // namespace qz
