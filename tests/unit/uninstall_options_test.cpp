#include "uninstall/uninstall_options.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

TEST(UninstallOptions, NothingSlashSWithItsLogOrTheCopysOwnArgument) {
    struct Case {
        const char* line;
        UninstallMode mode;
        const char* log = nullptr;  // null: no /LOG=
    };
    const Case cases[] = {
        {"", UninstallMode::kInteractive},
        {"  ", UninstallMode::kInteractive},
        {"/S", UninstallMode::kSilent},
        {" /s ", UninstallMode::kSilent},
        {"/S /D=C:\\", UninstallMode::kUnknownOption},
        {"/Q", UninstallMode::kUnknownOption},
        {"/Silent", UninstallMode::kUnknownOption},
        {"C:\\Other\\", UninstallMode::kUnknownOption},
        {"/working-copy", UninstallMode::kWorkingCopy},
        {"/working-copy C:\\", UninstallMode::kUnknownOption},
        {"/S /working-copy", UninstallMode::kUnknownOption},
        // /LOG= after /S, as the installer takes it, and nothing after it.
        {"/S /LOG=x.log", UninstallMode::kSilent, "x.log"},
        {"/s /log=C:\\l\\x.log  ", UninstallMode::kSilent, "C:\\l\\x.log"},
        {"/S \"/LOG=C:\\a b\\x.log\"", UninstallMode::kSilent, "C:\\a b\\x.log"},
        {"/S /LOG=\"C:\\a b\\x.log\" ", UninstallMode::kSilent, "C:\\a b\\x.log"},
        {"/S /LOG=\xB0\xB2\x81\x5C.log", UninstallMode::kSilent, "\xB0\xB2\x81\x5C.log"},
        {"/LOG=x.log", UninstallMode::kUnknownOption},
        {"/LOG=x.log /S", UninstallMode::kUnknownOption},
        {"/S /LOG=a /LOG=b", UninstallMode::kUnknownOption},
        {"/S /LOG=C:\\a b", UninstallMode::kUnknownOption},
        {"/S \"/LOG=a b\"c", UninstallMode::kUnknownOption},
        {"/S /LOGFILE=a", UninstallMode::kUnknownOption},
    };
    for (const Case& c : cases) {
        const UninstallRequest request = ParseUninstallCommandLine(c.line);
        EXPECT_EQ(request.mode, c.mode) << c.line;
        EXPECT_EQ(request.has_log, c.log != nullptr) << c.line;
        EXPECT_EQ(request.log, c.log != nullptr ? c.log : "") << c.line;
    }
}

}  // namespace
}  // namespace qz::test
