#include "framework/screen_text.h"

#include <windows.h>

#include <climits>

#include "common/constants.h"

ScreenText& ScreenText::Fixed(const std::string& text) {
    Append(qz::kTextCodePage, text);
    return *this;
}

ScreenText& ScreenText::Path(const std::string& text) {
    Append(CP_ACP, text);
    return *this;
}

ScreenText& ScreenText::PathBelow(const std::string& dir, const std::string& path) {
    if (dir.empty() || path.compare(0, dir.size(), dir) != 0) {
        return Path(path);
    }
    return Path(dir).Fixed(path.substr(dir.size()));
}

void ScreenText::Append(unsigned codePage, const std::string& text) {
    if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) {
        return;
    }
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return;
    }
    const size_t start = m_wide.size();
    m_wide.resize(start + static_cast<size_t>(needed));
    const int written =
        ::MultiByteToWideChar(codePage, 0, text.data(), length, &m_wide[start], needed);
    m_wide.resize(start + static_cast<size_t>(written > 0 ? written : 0));
}
