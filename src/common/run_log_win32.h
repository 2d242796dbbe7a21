// RunLog: the log an administrator asks for with /LOG=FILE. The file is
// written anew, in UTF-8, one line per event: the local time, a label and
// what it concerns; a failure adds the system's error code and its text.
// Every line goes to the file at once. A RunLog that was never created
// writes nothing, so a run without /LOG= logs nothing. Windows only.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "common/unique_handle_win32.h"

namespace qz {

class RunLog {
  public:
    // Creates `path` (in the system's ANSI code page; a relative path is
    // taken from the current directory), emptying an existing file, and keeps
    // it open, readable by others. Returns false when it cannot be created;
    // nothing is logged then.
    bool Create(const std::string& path);
    // Takes over a log another process created and handed on (its handle,
    // inherited); the lines follow those written there.
    void Adopt(UniqueHandle file) { m_file = std::move(file); }
    // True once Create succeeded or a log was adopted.
    bool IsOpen() const { return static_cast<bool>(m_file); }
    // The open file, to be handed on; null when none.
    HANDLE handle() const { return m_file.get(); }

    // "<time> <label> <subject>": `label` is a fixed text (GBK), `subject` a
    // path or value in the system's ANSI code page, which may be empty.
    void Event(const char* label, const std::string& subject = std::string());
    // The same with a fixed text (GBK) as its subject.
    void FixedEvent(const char* label, const char* text);
    // An event followed by "<error label> <code>: <the system's text>".
    void Failure(const char* label, const std::string& subject, std::uint32_t code);

  private:
    void Line(const std::string& utf8);

    UniqueHandle m_file;
};

}  // namespace qz
