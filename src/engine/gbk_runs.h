// The double-byte characters GBK defines, as runs of lead << 8 | trail codes
// in ascending order. A run may span the byte 7F, which is never a trail byte
// and so never part of a character. Generated: gbk_runs.py writes
// gbk_runs.cpp from glibc's iconv GBK, the conversion the package tool writes
// names with.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qz {

struct GbkRun {
    std::uint16_t first;
    std::uint16_t last;
};

extern const GbkRun kGbkRuns[];
extern const std::size_t kGbkRunCount;

}  // namespace qz
