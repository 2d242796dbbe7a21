// The log a program writes with /LOG=FILE, read as an administrator reads
// it: UTF-8, one event a line, each line beginning with its local time.
#pragma once

#include <string>
#include <vector>

namespace robot {

// The lines of the log at `path` in UTF-16, each without its time and the
// blank after it, and without its CR LF. Checks that the file is UTF-8,
// that every line ends with CR LF and begins with a time
// "YYYY-MM-DD HH:MM:SS.mmm ". Empty when the file cannot be read.
std::vector<std::wstring> ReadRunLog(const std::string& path);

// `path` (in the robot's ANSI code page) as UTF-16.
std::wstring Widen(const std::string& path);

// True when some line of `lines` equals `line`; checks it, naming `what`.
bool CheckLogLine(const std::vector<std::wstring>& lines, const std::wstring& line,
                  const std::string& what);

// The lines of `lines` that begin with `prefix`.
long long CountLines(const std::vector<std::wstring>& lines, const std::wstring& prefix);

}  // namespace robot
