// Why a package name or directory was refused, in words for the terminal.
#pragma once

#include <functional>
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

// One line for each entry whose name the installer refuses on its own
// (CheckEntryName): describe(i), then the rule in plain words.
std::vector<std::string> NameRefusals(const std::vector<std::unique_ptr<PackageEntry>>& entries,
                                      const std::function<std::string(std::size_t)>& describe);

// Refusals as one message, a line each with "qzpack: " before every line but
// the first: the first kShownRefusals, then how many more there are.
constexpr std::size_t kShownRefusals = 100;
std::string RefusalLines(const std::vector<std::string>& refusals);

}  // namespace qz::pack
