#include "robot/uninstall_entry_check.h"

#include <windows.h>

#include <vector>

#include "robot/report.h"
#include "robot/system_state.h"

namespace robot {

const char kUninstallEntryKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Qorvane";

namespace {

struct WideValue {
    bool present = false;
    DWORD type = 0;
    std::wstring text;  // REG_SZ: without its terminating NUL
    DWORD number = 0;   // REG_DWORD
};

WideValue ReadWide(const std::wstring& name) {
    WideValue value;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                        L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Qorvane", 0,
                        KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) {
        return value;
    }
    DWORD size = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size) ==
        ERROR_SUCCESS) {
        std::vector<BYTE> data(size + sizeof(wchar_t));
        if (::RegQueryValueExW(key, name.c_str(), nullptr, &value.type, data.data(), &size) ==
            ERROR_SUCCESS) {
            value.present = true;
            if (value.type == REG_DWORD && size == sizeof(DWORD)) {
                value.number = *reinterpret_cast<const DWORD*>(data.data());
            } else {
                value.text.assign(reinterpret_cast<const wchar_t*>(data.data()),
                                  size / sizeof(wchar_t));
                if (!value.text.empty() && value.text.back() == L'\0')
                    value.text.pop_back();
            }
        }
    }
    ::RegCloseKey(key);
    return value;
}

void CheckText(const wchar_t* name, const std::wstring& expected) {
    const WideValue value = ReadWide(name);
    const std::string label = Printable(name);
    Check(value.present, label + " is in the entry");
    CheckEqual(value.type, REG_SZ, label + " is a REG_SZ");
    CheckEqual(value.text, expected, label);
}

void CheckNumber(const wchar_t* name, DWORD expected) {
    const WideValue value = ReadWide(name);
    const std::string label = Printable(name);
    Check(value.present, label + " is in the entry");
    CheckEqual(value.type, REG_DWORD, label + " is a REG_DWORD");
    CheckEqual(value.number, expected, label);
}

}  // namespace

std::wstring ReadUninstallEntryText(const wchar_t* name) {
    const WideValue value = ReadWide(name);
    return value.type == REG_SZ ? value.text : std::wstring();
}

std::string Narrow(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string narrow(size > 0 ? size : 0, '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &narrow[0],
                              size, nullptr, nullptr);
    return narrow;
}

void CheckUninstallEntry(const std::wstring& installDir, std::int64_t packageBytes) {
    Step("the entry in the list of installed programs");
    const bool root = installDir.size() == 3;
    const std::wstring location = root ? installDir : installDir.substr(0, installDir.size() - 1);
    const std::wstring uninstaller = installDir + L"uninstall.exe";
    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    wchar_t date[16] = {};
    ::wsprintfW(date, L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);

    CheckText(L"DisplayName", L"Qorvane");
    CheckText(L"DisplayVersion", L"1.10");
    CheckText(L"Publisher", L"Tarnwell");
    CheckText(L"InstallLocation", location);
    CheckText(L"DisplayIcon", installDir + L"ravik.exe");
    CheckText(L"UninstallString", L"\"" + uninstaller + L"\"");
    CheckText(L"QuietUninstallString", L"\"" + uninstaller + L"\" /S");
    CheckNumber(L"EstimatedSize", static_cast<DWORD>((packageBytes + 1023) / 1024));
    CheckText(L"InstallDate", date);
    CheckNumber(L"NoModify", 1);
    CheckNumber(L"NoRepair", 1);

    // The path as a management tool reads it leads to the installed files.
    const std::wstring quoted = ReadWide(L"UninstallString").text;
    const std::wstring path = quoted.size() > 2 ? quoted.substr(1, quoted.size() - 2) : quoted;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    Check(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0,
          "the uninstaller named by UninstallString exists: " + Printable(path));
    const std::wstring log =
        ReadWide(L"InstallLocation").text + (root ? L"" : L"\\") + L"install.log";
    Check(::GetFileAttributesW(log.c_str()) != INVALID_FILE_ATTRIBUTES,
          "InstallLocation holds install.log: " + Printable(log));
}

void CheckNoUninstallEntry(const std::string& what) {
    Check(!MachineKeyExists(kUninstallEntryKey),
          what + ": no entry in the list of installed programs");
}

}  // namespace robot
