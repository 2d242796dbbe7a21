#include <windows.h>
#include <shellapi.h>

#include "qzpack/host/host_text.h"
#include "qzpack/host/host_text_win32.h"

namespace qz::pack {
namespace {

constexpr UINT kGbkCodePage = 936;

// Wide to narrow in code page; false when a character has no exact form there.
bool FromWide(UINT code_page, const std::wstring& wide, std::string* narrow) {
    narrow->clear();
    if (wide.empty()) {
        return true;
    }
    const DWORD flags = code_page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL used_default = FALSE;
    BOOL* used = code_page == CP_UTF8 ? nullptr : &used_default;
    const int n = WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, used);
    if (n <= 0 || used_default) {
        return false;
    }
    narrow->resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()), &(*narrow)[0],
                        n, nullptr, nullptr);
    return true;
}

// A LocalFree'd argument vector.
class ArgumentVector {
  public:
    ArgumentVector() : m_args(CommandLineToArgvW(GetCommandLineW(), &m_count)) {}
    ~ArgumentVector() { LocalFree(m_args); }
    ArgumentVector(const ArgumentVector&) = delete;
    ArgumentVector& operator=(const ArgumentVector&) = delete;

    int count() const { return m_args != nullptr ? m_count : 0; }
    const wchar_t* operator[](int i) const { return m_args[i]; }

  private:
    int m_count = 0;
    wchar_t** m_args;
};

}  // namespace

std::vector<std::string> CommandLineUtf8(int, char**) {
    ArgumentVector args;
    std::vector<std::string> result;
    for (int i = 1; i < args.count(); ++i) {
        std::string utf8;
        FromWide(CP_UTF8, args[i], &utf8);
        result.push_back(utf8);
    }
    return result;
}

bool HostNameToGbk(const std::filesystem::path& level, std::string* gbk) {
    return FromWide(kGbkCodePage, level.native(), gbk);
}

bool HostPathToAnsi(const std::filesystem::path& path, std::string* ansi) {
    return FromWide(CP_ACP, path.native(), ansi);
}

std::string GbkForDisplay(const std::string& gbk) {
    return gbk;
}

std::string PathForDisplay(const std::filesystem::path& path) {
    std::string shown;
    if (FromWide(kGbkCodePage, path.native(), &shown)) {
        return shown;
    }
    // Not representable on a GBK console: show it in UTF-8 rather than lose it.
    FromWide(CP_UTF8, path.native(), &shown);
    return shown;
}

}  // namespace qz::pack
