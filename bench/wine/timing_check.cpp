// Not a test: bench/wine-install --pinned runs this (wine_install_timing.exe
// timing_check) to time, on the package a pinned program would install, the
// system's SHA-256 alone over every byte (the limit of any check that reads
// them all) and then the pinned program's own check pass: the copy into a
// private file while hashing, as OpenPinnedPackage makes it.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "common/constants.h"
#include "common/read_stream_win32.h"
#include "common/sha256_win32.h"
#include "common/unique_handle_win32.h"
#include "engine/package_pin.h"
#include "engine/pinned_package_win32.h"
#include "robot/files.h"
#include "robot/installer.h"
#include "robot/report.h"
#include "robot/scenario.h"
#include "seconds_since.h"

using namespace robot;

namespace {

// The size and digest of the file at `path`, hashed as the pinned program
// hashes its package: opened without sharing (and closed again on return),
// read in pieces of kPinReadSize into the system's SHA-256.
qz::PackagePin HashAlone(const std::string& path) {
    UniqueHandle handle(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    Require(static_cast<bool>(handle), "the package opens");
    qz::Win32ReadStream file(std::move(handle));
    const std::unique_ptr<qz::Sha256> hash = qz::CreateSystemSha256();
    Require(hash != nullptr, "the system hashes");
    std::vector<unsigned char> buffer(qz::kPinReadSize);
    qz::PackagePin pin;
    for (;;) {
        const std::int64_t got = file.Read(buffer.data(), buffer.size());
        Require(got >= 0, "the package reads");
        if (got == 0)
            break;
        Require(hash->Add(buffer.data(), static_cast<std::size_t>(got)), "the bytes hash");
        pin.size += static_cast<std::uint64_t>(got);
    }
    Require(hash->Finish(&pin.digest), "the digest is given");
    return pin;
}

// On the package beside Install.exe in the setup folder, where an
// installation reads it: the hash alone, then the pinned program's check pass.
void TimeCheck() {
    SetupOptions options;
    options.package = RequiredPathEnv("QZ_BENCH_PACKAGE");
    Installer run(options);
    const std::string path = run.SetupDir() + "data.dat";

    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    const qz::PackagePin pin = HashAlone(path);
    const double hashSeconds = SecondsSince(start);
    std::printf("hash: %llu bytes in %.3f s\n", static_cast<unsigned long long>(pin.size),
                hashSeconds);

    ::QueryPerformanceCounter(&start);
    qz::PinnedOpen status = qz::PinnedOpen::kNotOpened;
    std::unique_ptr<qz::ReadStream> copy = qz::OpenPinnedPackage(path.c_str(), pin, &status);
    const double checkSeconds = SecondsSince(start);
    Require(copy && status == qz::PinnedOpen::kOpened, "the check makes its copy");
    unsigned char first = 0;
    Check(copy->Read(&first, 1) == 1, "the check passes: the copy reads");
    std::printf("copy and hash: %llu bytes in %.3f s\n", static_cast<unsigned long long>(pin.size),
                checkSeconds);
}

const Scenario check("timing_check", &TimeCheck);

}  // namespace
