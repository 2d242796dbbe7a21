// SHA-256 from the system (CryptoAPI) against the published test vectors.
#include "common/sha256_win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace qz {
namespace {

std::string Hex(const Sha256Digest& digest) {
    std::string hex;
    for (unsigned char byte : digest) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", byte);
        hex += two;
    }
    return hex;
}

TEST(SystemSha256, PublishedVectors) {
    const struct {
        const char* what;
        std::string input;
        std::size_t piece;  // added in pieces of this many bytes
        const char* digest;
    } vectors[] = {
        {"empty", "", 1, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "abc", 3, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"one million a", std::string(1000000, 'a'), 30720,
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.what);
        const std::unique_ptr<Sha256> hash = CreateSystemSha256();
        ASSERT_NE(hash, nullptr) << "the system gives no SHA-256";
        for (std::size_t at = 0; at < v.input.size(); at += v.piece) {
            ASSERT_TRUE(hash->Add(v.input.data() + at, std::min(v.piece, v.input.size() - at)));
        }
        Sha256Digest digest{};
        ASSERT_TRUE(hash->Finish(&digest));
        EXPECT_EQ(Hex(digest), v.digest);
    }
}

}  // namespace
}  // namespace qz
