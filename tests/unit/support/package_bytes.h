// Package bytes for tests, laid out here by hand (not with the production
// encoder), so that a fault in the encoder or decoder cannot hide itself.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qz::test {

// 4 bytes, little-endian two's complement.
std::string Le32(std::int32_t value);
// 28 bytes: version, the two magic bytes, 18 reserved bytes (zero), count.
std::string HeaderBytes(std::int32_t version, char magic0, char magic1, std::int32_t count);
// 264 bytes: size, then the name padded with NUL bytes to 260 (name must be
// at most 260 bytes; with 260 there is no NUL).
std::string EntryBytes(std::int32_t size, const std::string& name);

struct TestFile {
    std::string name;
    std::string data;
};
// A valid package: header "QZ" version 1, one record per file with the data's
// size, then the data back to back.
std::string PackageBytes(const std::vector<TestFile>& files);

}  // namespace qz::test
