// ScreenText: a text on its way to the screen, made of narrow pieces that each
// keep the code page they were written in. The program's fixed texts are GBK
// whatever the system runs; a path the user typed or the system gave is in the
// system's ANSI code page. Both are shown through the wide functions, so the
// Chinese texts read the same under any code page.
#pragma once

#include <string>

class ScreenText {
  public:
    ScreenText() = default;

    // Appends a fixed text of the program (qz::kTextCodePage). Returns *this.
    ScreenText& Fixed(const std::string& text);
    // Appends a path or name that came from the user or the system (the ANSI
    // code page). Returns *this.
    ScreenText& Path(const std::string& text);
    // Appends `path`: when it begins with `dir` (not empty, the system's code
    // page), that part as a path and the rest as a name of the package (GBK),
    // each from its own code page; any other path as a path of the system.
    // Returns *this.
    ScreenText& PathBelow(const std::string& dir, const std::string& path);

    // The whole text in UTF-16, null-terminated by c_str(). A piece that does
    // not convert shows as nothing.
    const std::wstring& Wide() const { return m_wide; }

  private:
    void Append(unsigned codePage, const std::string& text);

    std::wstring m_wide;
};
