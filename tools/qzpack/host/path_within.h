// Whether one host path lies within a folder, level by level.
#pragma once

#include <filesystem>

namespace qz::pack {

// True when path is folder or lies below it, comparing their levels as
// given: both should be absolute, with their links resolved.
bool IsWithin(const std::filesystem::path& path, const std::filesystem::path& folder);

}  // namespace qz::pack
