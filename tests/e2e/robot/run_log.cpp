#include "robot/run_log.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "robot/files.h"
#include "robot/report.h"

namespace robot {
namespace {

// "YYYY-MM-DD HH:MM:SS.mmm ": digits where digits belong.
bool StartsWithTime(const std::wstring& line) {
    const std::wstring shape = L"0000-00-00 00:00:00.000 ";
    if (line.size() < shape.size())
        return false;
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == L'0' ? !std::iswdigit(line[i]) : line[i] != shape[i])
            return false;
    }
    return true;
}

}  // namespace

std::wstring Widen(const std::string& path) {
    const int size =
        ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(size > 0 ? size : 0, L'\0');
    if (size > 0)
        ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0],
                              size);
    return wide;
}

std::vector<std::wstring> ReadRunLog(const std::string& path) {
    bool ok = false;
    const std::string bytes = ReadWholeFile(path, &ok);
    std::vector<std::wstring> lines;
    if (!Check(ok, "the log " + Printable(path) + " is there"))
        return lines;
    const int size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    if (!Check(size > 0, "the log is UTF-8"))
        return lines;
    std::wstring text(size, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], size);
    Check(text.size() >= 2 && text.compare(text.size() - 2, 2, L"\r\n") == 0,
          "the log's last line ends with CR LF");
    size_t bad = 0;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find(L"\r\n", at);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = text.substr(at, end - at);
        if (StartsWithTime(line))
            lines.push_back(line.substr(24));
        else
            ++bad;
        at = end + 2;
    }
    CheckEqual(static_cast<long long>(bad), 0, "log lines that do not begin with their time");
    return lines;
}

bool CheckLogLine(const std::vector<std::wstring>& lines, const std::wstring& line,
                  const std::string& what) {
    const bool found = std::find(lines.begin(), lines.end(), line) != lines.end();
    return Check(found, "the log names " + what + ": " + Printable(line));
}

long long CountLines(const std::vector<std::wstring>& lines, const std::wstring& prefix) {
    long long count = 0;
    for (const std::wstring& line : lines)
        count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

}  // namespace robot
