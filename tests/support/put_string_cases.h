// The values a string value is stored with or refused, shared by the registry
// key's tests over the recording store and over the real registry: at most
// 254 bytes of text, so that with its NUL the value fits in 255 bytes.
#pragma once

#include <string>
#include <vector>

namespace qz::test {

struct PutStringCase {
    const char* what;
    std::string value;
    bool stored;  // false: refused before anything is written
};
std::vector<PutStringCase> PutStringCases();

}  // namespace qz::test
