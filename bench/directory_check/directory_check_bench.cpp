// Times the directory check that runs before the first write, and measures the
// memory it takes beyond the directory itself, on three shapes: 20,000 names
// 25 levels deep, 200,000 names 4 levels deep, and the most levels a name can
// hold (20,000 names of 259 bytes, 128 levels, none shared). Every allocation of the program
// passes through the counting operators below, so "extra memory" is the peak
// of live heap bytes during the check minus the bytes live before it.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "engine/entry_rules.h"

namespace {

std::size_t g_live = 0;
std::size_t g_peak = 0;

void* Allocate(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    g_live += malloc_usable_size(p);
    g_peak = std::max(g_peak, g_live);
    return p;
}

void Release(void* p) noexcept {
    if (p != nullptr) {
        g_live -= malloc_usable_size(p);
        std::free(p);
    }
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}

namespace {

// Entry i's name: `depth` - 1 folders, then a file. The folder at level k is
// "kk" and a number of six digits, i >> shift(k): shared by 2^shift entries
// near the top, one entry's own further down, as a real tree branches.
std::string TreeName(std::size_t i, int depth, int (*shift)(int level)) {
    std::string name;
    for (int k = 0; k + 1 < depth; ++k) {
        char level[16];
        std::snprintf(level, sizeof level, "%02d%06zu\\", k, i >> shift(k));
        name += level;
    }
    char file[16];
    std::snprintf(file, sizeof file, "file%06zu.bin", i);
    return name + file;
}

// Entry i's own first level of five digits, then 127 levels of one letter.
std::string DeepestName(std::size_t i) {
    char first[8];
    std::snprintf(first, sizeof first, "%05zu", i);
    std::string name = first;
    for (int k = 0; k < 127; ++k) {
        name += "\\a";
    }
    return name;
}

std::vector<std::unique_ptr<qz::PackageEntry>> MakeDirectory(
    std::size_t count, const std::function<std::string(std::size_t)>& name_of) {
    std::vector<std::unique_ptr<qz::PackageEntry>> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        auto entry = std::make_unique<qz::PackageEntry>();
        std::memset(entry.get(), 0, sizeof *entry);
        entry->nSize = 1;
        const std::string name = name_of(i);
        std::memcpy(entry->szName, name.data(), name.size());
        entries.push_back(std::move(entry));
    }
    return entries;
}

int DeepShift(int level) {
    return std::max(0, 14 - level);
}

int FlatShift(int level) {
    return std::max(0, 12 - 4 * level);
}

void Run(const char* what, std::size_t count,
         const std::function<std::string(std::size_t)>& name_of) {
    const auto entries = MakeDirectory(count, name_of);
    std::size_t name_bytes = 0;
    for (const auto& entry : entries) {
        name_bytes += std::strlen(entry->szName);
    }
    std::vector<double> seconds;
    std::size_t extra = 0;
    constexpr int kRuns = 5;
    for (int run = 0; run < kRuns; ++run) {
        const std::size_t before = g_live;
        g_peak = g_live;
        const auto t0 = std::chrono::steady_clock::now();
        const qz::EntryCheck check = qz::ValidateDirectory(entries);
        const auto t1 = std::chrono::steady_clock::now();
        if (check.status != qz::DirectoryCheck::kOk) {
            std::fprintf(stderr, "%s: the directory was refused\n", what);
            std::exit(1);
        }
        extra = std::max(extra, g_peak - before);
        seconds.push_back(std::chrono::duration<double>(t1 - t0).count());
    }
    std::sort(seconds.begin(), seconds.end());
    const double directory = static_cast<double>(count * qz::kEntrySize);
    std::printf(
        "%-26s %7zu names, %5.1f MB of names, directory %6.1f MB: median %7.3f s, min %7.3f s, "
        "extra memory %7.1f MB (%.2f x the directory)\n",
        what, count, static_cast<double>(name_bytes) / 1e6, directory / 1e6, seconds[kRuns / 2],
        seconds[0], static_cast<double>(extra) / 1e6, static_cast<double>(extra) / directory);
}

}  // namespace

int main() {
    Run("20,000 x 25 levels deep", 20000,
        [](std::size_t i) { return TreeName(i, 25, &DeepShift); });
    Run("200,000 x 4 levels deep", 200000,
        [](std::size_t i) { return TreeName(i, 4, &FlatShift); });
    Run("20,000 x 128 levels deep", 20000, &DeepestName);
    return 0;
}
