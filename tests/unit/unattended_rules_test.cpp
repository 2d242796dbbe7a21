// The unattended mode's command line and exit codes.
#include <gtest/gtest.h>

#include "app/unattended_rules.h"
#include "engine/extractor.h"

namespace {

using Request = qz::UnattendedRequest;

TEST(UnattendedCommandLine, SelectsTheModeOnlyByAFirstArgumentOfS) {
    struct Case {
        const char* line;
        Request::Mode mode;
        bool hasDir;
        const char* dir;
        const char* log = nullptr;  // null: no /LOG=
    };
    const Case cases[] = {
        {"", Request::kWizard, false, ""},
        {"   ", Request::kWizard, false, ""},
        {"/S", Request::kInstall, false, ""},
        {"/s", Request::kInstall, false, ""},
        {"  /S  ", Request::kInstall, false, ""},
        {"\t/S\t", Request::kInstall, false, ""},
        // Anything else first is the wizard, whatever follows.
        {"/Silent", Request::kWizard, false, ""},
        {"/S=1", Request::kWizard, false, ""},
        {"-S", Request::kWizard, false, ""},
        {"\"/S\"", Request::kWizard, false, ""},
        {"/D=C:\\x /S", Request::kWizard, false, ""},
        {"foo /S", Request::kWizard, false, ""},
        // Unquoted, /D= takes the rest of the line as it stands: spaces,
        // quotes, a second /D=, trailing blanks.
        {"/S /D=C:\\Some Dir\\Qorvane", Request::kInstall, true, "C:\\Some Dir\\Qorvane"},
        {"/S /d=C:\\x", Request::kInstall, true, "C:\\x"},
        {"/S    /D=C:\\a  b ", Request::kInstall, true, "C:\\a  b "},
        {"/S /D=C:\\a /D=C:\\b", Request::kInstall, true, "C:\\a /D=C:\\b"},
        {"/S /D=C:\\a\"b\"", Request::kInstall, true, "C:\\a\"b\""},
        {"/S /D=", Request::kInstall, true, ""},
        // Quoted as deployment tools quote an argument with spaces: the quotes
        // are not part of the directory, and only blanks may follow them.
        {"/S \"/D=C:\\My Apps\\Qorvane\"", Request::kInstall, true, "C:\\My Apps\\Qorvane"},
        {"/S /D=\"C:\\My Apps\\Qorvane\"  ", Request::kInstall, true, "C:\\My Apps\\Qorvane"},
        {"/S \"/d=C:\\q\\\"", Request::kInstall, true, "C:\\q\\"},
        {"/S /D=\"\"", Request::kInstall, true, ""},
        // A quote that does not close the value is part of it (and the
        // directory then fails its check); a quoted option with more after it
        // is no option.
        {"/S /D=\"C:\\a\" b", Request::kInstall, true, "\"C:\\a\" b"},
        {"/S /D=\"C:\\a", Request::kInstall, true, "\"C:\\a"},
        {"/S \"/D=C:\\a\" b", Request::kUnknownOption, false, ""},
        {"/S \"/D=C:\\a", Request::kUnknownOption, false, ""},
        {"/S \"/D\"=C:\\a", Request::kUnknownOption, false, ""},
        // /LOG= comes before /D=; unquoted, FILE ends at the next blank.
        {"/S /LOG=x.log", Request::kInstall, false, "", "x.log"},
        {"/S /log=C:\\l\\x.log /D=C:\\a b", Request::kInstall, true, "C:\\a b", "C:\\l\\x.log"},
        {"/S \"/LOG=C:\\a b\\x.log\" \"/D=C:\\My Apps\"", Request::kInstall, true, "C:\\My Apps",
         "C:\\a b\\x.log"},
        {"/S /LOG=\"C:\\a b\\x.log\" /D=\"C:\\My Apps\"", Request::kInstall, true, "C:\\My Apps",
         "C:\\a b\\x.log"},
        {"/S /LOG=\"x\"y /D=C:\\a", Request::kInstall, true, "C:\\a", "\"x\"y"},
        {"/S /LOG= /D=C:\\a", Request::kInstall, true, "C:\\a", ""},
        {"/S /LOG=\xB0\xB2\x81\x5C.log", Request::kInstall, false, "", "\xB0\xB2\x81\x5C.log"},
        {"/S /D=C:\\a /LOG=x.log", Request::kInstall, true, "C:\\a /LOG=x.log"},
        // GBK: C:\ 安装 (B0 B2 D7 B0) \ 乗 (81 5C).
        {"/S /D=C:\\\xB0\xB2\xD7\xB0\\\x81\x5C", Request::kInstall, true,
         "C:\\\xB0\xB2\xD7\xB0\\\x81\x5C"},
        // Anything after /S that is not /D= is refused, /D= included when
        // something follows it.
        {"/S /X", Request::kUnknownOption, false, ""},
        {"/S /S", Request::kUnknownOption, false, ""},
        {"/S /D", Request::kUnknownOption, false, ""},
        {"/S /DIR=C:\\x", Request::kUnknownOption, false, ""},
        {"/S C:\\x", Request::kUnknownOption, false, ""},
        {"/S /X /D=C:\\x", Request::kUnknownOption, false, ""},
        {"/S /LOG=a /LOG=b", Request::kUnknownOption, false, ""},
        {"/S \"/LOG=a b\"c", Request::kUnknownOption, false, ""},
        {"/S /LOGFILE=a", Request::kUnknownOption, false, ""},
        {"/S \"/D=C:\\a\" /LOG=x.log", Request::kUnknownOption, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Request r = qz::ParseCommandLine(c.line);
        EXPECT_EQ(r.mode, c.mode);
        EXPECT_EQ(r.hasDir, c.hasDir);
        EXPECT_EQ(r.dir, c.dir);
        EXPECT_EQ(r.hasLog, c.log != nullptr);
        EXPECT_EQ(r.log, c.log != nullptr ? c.log : "");
    }
}

TEST(UnattendedExitCode, FollowsTheExtractionResult) {
    struct Case {
        qz::ExtractResult result;
        bool runningCopy;
        int exitCode;
    };
    const Case cases[] = {
        {qz::kExtractOk, false, 0},
        {qz::kExtractAbandoned, false, 1},  // data.dat not opened
        {qz::kExtractAbandoned, true, 5},   // a running copy not waited for
        {qz::kExtractBadPackage, false, 2},
        {qz::kExtractCreateFailed, false, 3},
        {qz::kExtractTruncated, false, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qz::UnattendedExitCode(c.result, c.runningCopy), c.exitCode)
            << c.result << (c.runningCopy ? " with a running copy" : "");
    }
}

}  // namespace
