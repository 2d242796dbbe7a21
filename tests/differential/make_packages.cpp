// qz_diff_packages SEED COUNT FOLDER: writes the packages 0 .. COUNT-1 of the
// differential run SEED as FOLDER/NNNN.dat (NNNN the index, four digits).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "differential/name_grammar.h"
#include "differential/random_source.h"
#include "support/package_bytes.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: qz_diff_packages SEED COUNT FOLDER\n");
        return 2;
    }
    const std::uint64_t seed = std::strtoull(argv[1], nullptr, 10);
    const unsigned long count = std::strtoul(argv[2], nullptr, 10);
    for (unsigned long i = 0; i < count; ++i) {
        qz::diff::RandomSource random = qz::diff::PackageSource(seed, i);
        char name[32];
        std::snprintf(name, sizeof(name), "/%04lu.dat", i);
        std::ofstream out(argv[3] + std::string(name), std::ios::binary);
        out << qz::test::PackageBytes(qz::diff::RandomPackage(random));
        if (!out.flush()) {
            std::fprintf(stderr, "qz_diff_packages: cannot write %s%s\n", argv[3], name);
            return 1;
        }
    }
    return 0;
}
