// A small seeded random source (splitmix64) whose sequence is the same on
// every compiler and library, so a seed printed by one run repeats it anywhere.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qz::diff {

class RandomSource {
  public:
    explicit RandomSource(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A number in [0, n); n must not be 0.
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
    // A number in [low, high].
    std::size_t Between(std::size_t low, std::size_t high) { return low + Below(high - low + 1); }
    // True once in n draws, on average.
    bool OneIn(std::size_t n) { return Below(n) == 0; }

  private:
    std::uint64_t m_state;
};

// The source of package `index` of the run with `seed`: each package can be
// made again from the two numbers alone.
inline RandomSource PackageSource(std::uint64_t seed, std::uint64_t index) {
    RandomSource mix(seed ^ (index * 0xD1B54A32D192ED03ull));
    return RandomSource(mix.Next());
}

}  // namespace qz::diff
