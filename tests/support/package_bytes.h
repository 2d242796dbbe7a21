// Package bytes for tests, laid out here by hand (not with the production
// encoder), so that a fault in the encoder or decoder cannot hide itself. The
// unit tests, the Windows tests and the robot all build their packages here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qz::test {

// A 32-bit little-endian integer (two's complement), as the package stores
// every number: 4 bytes.
std::string Le32(std::int32_t value);
// The 28-byte header: nVersion (4), the two magic letters (2), 18 reserved
// bytes (zero here), nEntryCount (4).
std::string HeaderBytes(std::int32_t version, char magic0, char magic1, std::int32_t count);
// One 264-byte directory record: nSize (4), then the 260-byte name field. A
// name shorter than 260 bytes is followed by NULs; one of exactly 260 bytes
// fills the field and has no NUL at all; a longer one is cut to 260.
std::string EntryBytes(std::int32_t size, const std::string& name);

struct TestFile {
    std::string name;
    std::string data;
};
// A package that any reader accepts: header "QZ" version 1, one record per
// file with the data's size, then the data back to back, in entry order.
std::string PackageBytes(const std::vector<TestFile>& files);

}  // namespace qz::test
