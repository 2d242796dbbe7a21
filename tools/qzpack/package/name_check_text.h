// Why a package name or directory was refused, in words for the terminal.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/entry_rules.h"

namespace qz::pack {

const char* NameCheckText(NameCheck check);

// "entry 3 (a\b.txt)": an entry's index and its name as the terminal shows it.
std::string DescribeEntry(const std::vector<std::unique_ptr<PackageEntry>>& entries,
                          std::size_t index);

// What a refused directory check found, naming the entries at fault; check's
// status is not kOk.
std::string DirectoryFaultText(const std::vector<std::unique_ptr<PackageEntry>>& entries,
                               const EntryCheck& check);

}  // namespace qz::pack
