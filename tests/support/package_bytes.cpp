#include "support/package_bytes.h"

namespace qz::test {

std::string Le32(std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    std::string out;
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((u >> (8 * i)) & 0xFF);
    }
    return out;
}

std::string HeaderBytes(std::int32_t version, char magic0, char magic1, std::int32_t count) {
    return Le32(version) + magic0 + magic1 + std::string(18, '\0') + Le32(count);
}

std::string EntryBytes(std::int32_t size, const std::string& name) {
    std::string field = name.substr(0, 260);
    field.resize(260, '\0');
    return Le32(size) + field;
}

std::string PackageBytes(const std::vector<TestFile>& files) {
    std::string out = HeaderBytes(1, 'Q', 'Z', static_cast<std::int32_t>(files.size()));
    for (const TestFile& f : files) {
        out += EntryBytes(static_cast<std::int32_t>(f.data.size()), f.name);
    }
    for (const TestFile& f : files) {
        out += f.data;
    }
    return out;
}

}  // namespace qz::test
