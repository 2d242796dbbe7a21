// How a scenario reports: CHECK-style failures that let the scenario go on,
// and Require, which ends the scenario at once. A scenario passes when it
// ends with no failure.
#pragma once

#include <string>

namespace robot {

// Thrown by Require to end the scenario; caught by the runner.
struct ScenarioAbort {
    std::string what;
};

// Thrown by Skip: the scenario cannot run on this machine.
struct ScenarioSkip {
    std::string reason;
};
// The robot's exit code for a skipped scenario (ctest's SKIP_RETURN_CODE).
constexpr int kSkipExitCode = 77;

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Records a failure (printed with the scenario's step) when `ok` is false.
// Returns `ok`.
bool Check(bool ok, const std::string& what);
// Like Check, but ends the scenario.
void Require(bool ok, const std::string& what);
// Checks that two byte strings are equal, printing both (as Printable shows
// them) when they are not.
bool CheckEqual(const std::string& actual, const std::string& expected, const std::string& what);
bool CheckEqual(long long actual, long long expected, const std::string& what);
// The same for UTF-16 texts, printed as UTF-8.
bool CheckEqual(const std::wstring& actual, const std::wstring& expected, const std::string& what);

// Ends the scenario as skipped: the machine lacks what it needs (`reason`).
[[noreturn]] void Skip(const std::string& reason);

// A progress line for the log ("step: ...").
void Step(const std::string& what);

int FailureCount();
// Printable form of GBK bytes for a UTF-8 log: valid GBK converted to UTF-8
// with control characters as \xNN; bytes that are not valid GBK as they stand
// where printable ASCII, otherwise as \xNN.
std::string Printable(const std::string& bytes);
// Printable form of a UTF-16 text: UTF-8, control characters as \xNN.
std::string Printable(const std::wstring& text);

}  // namespace robot
