#include "common/run_log_win32.h"

#include <windows.h>

#include <cstdio>

#include "common/constants.h"
#include "common/texts.h"

namespace qz {
namespace {

std::string FromWide(const std::wstring& wide) {
    const int length = static_cast<int>(wide.size());
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return std::string();
    }
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, &utf8[0], size, nullptr, nullptr);
    return utf8;
}

// `text` in `codePage` as UTF-8; bytes the code page does not define become
// U+FFFD.
std::string Utf8(const std::string& text, UINT codePage) {
    const int length = static_cast<int>(text.size());
    const int wideLength = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0) {
        return std::string();
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), length, &wide[0], wideLength);
    return FromWide(wide);
}

// The system's text for `code` in UTF-8, without its line end; empty when
// the system has none.
std::string SystemText(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring wide(buffer != nullptr ? buffer : L"", buffer != nullptr ? length : 0);
    ::LocalFree(buffer);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ')) {
        wide.pop_back();
    }
    return FromWide(wide);
}

}  // namespace

bool RunLog::Create(const std::string& path) {
    m_file.reset(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    return IsOpen();
}

void RunLog::Event(const char* label, const std::string& subject) {
    std::string line = Utf8(label, kTextCodePage);
    if (!subject.empty()) {
        line += ' ' + Utf8(subject, CP_ACP);
    }
    Line(line);
}

void RunLog::FixedEvent(const char* label, const char* text) {
    Line(Utf8(label, kTextCodePage) + ' ' + Utf8(text, kTextCodePage));
}

void RunLog::Failure(const char* label, const std::string& subject, std::uint32_t code) {
    char number[16] = {};
    // HRESULTs read best in hexadecimal, the system's error codes in decimal.
    std::snprintf(number, sizeof(number), code > 0xFFFFu ? "0x%08lX" : "%lu",
                  static_cast<unsigned long>(code));
    std::string line = Utf8(label, kTextCodePage);
    if (!subject.empty()) {
        line += ' ' + Utf8(subject, CP_ACP);
    }
    line += " (" + Utf8(kRunLogError, kTextCodePage) + ' ' + number;
    const std::string text = SystemText(code);
    if (!text.empty()) {
        line += ": " + text;
    }
    Line(line + ')');
}

void RunLog::Line(const std::string& utf8) {
    if (!m_file) {
        return;
    }
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char time[32] = {};
    std::snprintf(time, sizeof(time), "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    const std::string line = time + utf8 + "\r\n";
    DWORD written = 0;
    // A line that cannot be written is lost; the run goes on.
    ::WriteFile(m_file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace qz
