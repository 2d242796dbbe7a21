#include "robot/report.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace robot {

namespace {
int g_failures = 0;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
    return text;
}

std::string Printable(const std::wstring& text) {
    std::string out;
    for (wchar_t ch : text) {
        if (ch < 0x20 || ch == 0x7F) {
            out += Format("\\x%02X", static_cast<unsigned>(ch));
        } else {
            char utf8[8];
            const int n =
                ::WideCharToMultiByte(CP_UTF8, 0, &ch, 1, utf8, sizeof(utf8), nullptr, nullptr);
            out.append(utf8, static_cast<size_t>(n > 0 ? n : 0));
        }
    }
    return out;
}

std::string Printable(const std::string& bytes) {
    // Readable in a UTF-8 log: GBK text converted, control bytes escaped.
    const int wide = ::MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    if (wide > 0 || bytes.empty()) {
        std::wstring w(static_cast<size_t>(wide), L'\0');
        ::MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), &w[0], wide);
        return Printable(w);
    }
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += Format("\\x%02X", c);
        }
    }
    return out;
}

bool Check(bool ok, const std::string& what) {
    if (!ok) {
        ++g_failures;
        std::printf("FAILED: %s\n", what.c_str());
        std::fflush(stdout);
    }
    return ok;
}

void Require(bool ok, const std::string& what) {
    if (!Check(ok, what)) {
        throw ScenarioAbort{what};
    }
}

void Skip(const std::string& reason) {
    throw ScenarioSkip{reason};
}

bool CheckEqual(const std::string& actual, const std::string& expected, const std::string& what) {
    return Check(actual == expected, what + ": got \"" + Printable(actual) + "\", expected \"" +
                                         Printable(expected) + "\"");
}

bool CheckEqual(const std::wstring& actual, const std::wstring& expected, const std::string& what) {
    return Check(actual == expected, what + ": got \"" + Printable(actual) + "\", expected \"" +
                                         Printable(expected) + "\"");
}

bool CheckEqual(long long actual, long long expected, const std::string& what) {
    return Check(actual == expected,
                 Format("%s: got %lld, expected %lld", what.c_str(), actual, expected));
}

void Step(const std::string& what) {
    std::printf("  step: %s\n", Printable(what).c_str());
    std::fflush(stdout);
}

int FailureCount() {
    return g_failures;
}

}  // namespace robot
