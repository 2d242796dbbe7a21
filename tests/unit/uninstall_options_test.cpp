#include "uninstall/uninstall_options.h"

#include <gtest/gtest.h>

#include <utility>

namespace qz::test {
namespace {

TEST(UninstallOptions, OnlyNothingSlashSOrTheCopysOwnArgument) {
    const std::pair<const char*, UninstallMode> cases[] = {
        {"", UninstallMode::kInteractive},
        {"  ", UninstallMode::kInteractive},
        {"/S", UninstallMode::kSilent},
        {" /s ", UninstallMode::kSilent},
        {"/S /D=C:\\", UninstallMode::kUnknownOption},
        {"/Q", UninstallMode::kUnknownOption},
        {"C:\\Other\\", UninstallMode::kUnknownOption},
        {"/working-copy", UninstallMode::kWorkingCopy},
        {"/working-copy C:\\", UninstallMode::kUnknownOption},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseUninstallCommandLine(c.first), c.second) << c.first;
    }
}

}  // namespace
}  // namespace qz::test
