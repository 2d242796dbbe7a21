// CreateShortcuts against the real shell: every shortcut is read back with
// IShellLinkA::Load from the folders the shell reports, and each test starts
// from folders without our shortcuts.
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "common/directory_chain.h"
#include "common/install_dir.h"
#include "framework/handles.h"
#include "integration/shortcuts.h"

namespace {

// GBK: 卸载 = D0 B6 D4 D8.
const std::string kUninstallLinkName = "\xD0\xB6\xD4\xD8.lnk";
const std::string kUninstallDescription = "\xD0\xB6\xD4\xD8";

struct LinkFields {
    std::string target;
    std::string working_dir;
    std::string description;
};

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::string FolderPath(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return std::string();
    }
    return path;
}

// The names of the .lnk files directly in `folder`.
std::set<std::string> LinksIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA data;
    const HANDLE find = ::FindFirstFileA((folder + "\\*.lnk").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        names.insert(data.cFileName);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return names;
}

// Loads a shortcut file with the shell's link object; nullopt when it cannot.
std::optional<LinkFields> ReadLink(const std::string& path) {
    ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.put_void()))) {
        return std::nullopt;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) {
        return std::nullopt;
    }
    wchar_t wide[MAX_PATH] = {};
    if (::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) == 0 ||
        FAILED(file->Load(wide, STGM_READ))) {
        return std::nullopt;
    }
    char target[MAX_PATH] = {};
    char dir[MAX_PATH] = {};
    char description[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(dir, MAX_PATH);
    link->GetDescription(description, MAX_PATH);
    return LinkFields{target, dir, description};
}

void ExpectLink(const std::string& path, const std::string& target, const std::string& dir,
                const std::string& description) {
    SCOPED_TRACE(path);
    const std::optional<LinkFields> link = ReadLink(path);
    ASSERT_TRUE(link.has_value()) << "no readable shortcut";
    EXPECT_EQ(link->target, target);
    EXPECT_EQ(link->working_dir, dir);
    EXPECT_EQ(link->description, description);
}

class ShortcutsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        m_desktop = FolderPath(CSIDL_DESKTOPDIRECTORY);
        m_programs = FolderPath(CSIDL_PROGRAMS);
        ASSERT_FALSE(m_desktop.empty());
        ASSERT_FALSE(m_programs.empty());
        RemoveOurShortcuts();
        m_savedInstallDir = qz::g_strInstallDir;
    }
    void TearDown() override {
        qz::g_strInstallDir = m_savedInstallDir;
        RemoveOurShortcuts();
        ::CoUninitialize();
    }

    std::string DesktopLink() const { return m_desktop + "\\Qorvane.lnk"; }
    std::string ProgramsFolder() const { return m_programs + "\\Qorvane"; }
    std::string ProgramsAppLink() const { return ProgramsFolder() + "\\Qorvane.lnk"; }
    std::string ProgramsUninstallLink() const {
        return ProgramsFolder() + "\\" + kUninstallLinkName;
    }

    void RemoveOurShortcuts() const {
        ::DeleteFileA(DesktopLink().c_str());
        ::DeleteFileA((m_desktop + "\\" + kUninstallLinkName).c_str());
        ::DeleteFileA(ProgramsAppLink().c_str());
        ::DeleteFileA(ProgramsUninstallLink().c_str());
        ::RemoveDirectoryA(ProgramsFolder().c_str());
    }

    // Installs `dir` with both programs present, as after an extraction.
    static void InstallDir(const std::string& dir) {
        qz::CreateDirectoryChain(dir);
        WriteBytes(dir + "ravik.exe", "MZ");
        WriteBytes(dir + "uninstall.exe", "MZ");
        qz::g_strInstallDir = dir;
    }

    void ExpectAllThree(const std::string& dir) const {
        ExpectLink(DesktopLink(), dir + "ravik.exe", dir, "Qorvane");
        ExpectLink(ProgramsAppLink(), dir + "ravik.exe", dir, "Qorvane");
        ExpectLink(ProgramsUninstallLink(), dir + "uninstall.exe", dir, kUninstallDescription);
    }

    std::string m_desktop;
    std::string m_programs;
    std::string m_savedInstallDir;
};

TEST_F(ShortcutsTest, WritesThreeShortcutsForTheInstallDirectory) {
    const std::string dirs[] = {
        "C:\\Apps\\Qorvane\\",
        // C:\程序\乗嘰\ : B3 CC D0 F2 = 程序; 81 5C = 乗 and 87 5C = 嘰 end in
        // a 0x5C trail byte that is no separator.
        "C:\\\xB3\xCC\xD0\xF2\\\x81\x5C\x87\x5C\\",
    };
    for (const std::string& dir : dirs) {
        SCOPED_TRACE(dir);
        RemoveOurShortcuts();
        InstallDir(dir);
        ASSERT_FALSE(IsDirectory(ProgramsFolder()));

        EXPECT_EQ(qz::CreateShortcuts(), 0);

        EXPECT_TRUE(IsDirectory(ProgramsFolder()));
        ExpectAllThree(dir);
        // The uninstaller is reachable from the Programs menu only.
        EXPECT_EQ(LinksIn(m_desktop), std::set<std::string>{"Qorvane.lnk"});
        EXPECT_EQ(LinksIn(ProgramsFolder()),
                  (std::set<std::string>{"Qorvane.lnk", kUninstallLinkName}));
    }
}

TEST_F(ShortcutsTest, ReplacesShortcutsOfAnEarlierInstallation) {
    InstallDir("C:\\Old\\Qorvane\\");
    ASSERT_EQ(qz::CreateShortcuts(), 0);
    // A damaged shortcut file of the same name is replaced as well.
    WriteBytes(DesktopLink(), "not a shortcut");
    ASSERT_FALSE(ReadLink(DesktopLink()).has_value());

    const std::string dir = "D:\\Apps\\Qorvane\\";
    qz::g_strInstallDir = dir;
    EXPECT_EQ(qz::CreateShortcuts(), 0);

    ExpectAllThree(dir);
}

// An install directory whose targets do not fit 260 bytes gets no shortcut to
// them, rather than one to a cut-off path.
TEST_F(ShortcutsTest, SkipsShortcutsWhoseTargetDoesNotFit) {
    // 250 bytes: "C:\", 245 x 'q', "\" . ravik.exe makes 259, uninstall.exe 263.
    const std::string dir250 = "C:\\" + std::string(246, 'q') + "\\";
    ASSERT_EQ(dir250.size(), 250u);
    qz::g_strInstallDir = dir250;
    EXPECT_EQ(qz::CreateShortcuts(), 0);
    ExpectLink(DesktopLink(), dir250 + "ravik.exe", dir250, "Qorvane");
    ExpectLink(ProgramsAppLink(), dir250 + "ravik.exe", dir250, "Qorvane");
    EXPECT_FALSE(Exists(ProgramsUninstallLink()));

    RemoveOurShortcuts();
    qz::g_strInstallDir = "C:\\" + std::string(400, 'q') + "\\";
    EXPECT_EQ(qz::CreateShortcuts(), 0);
    EXPECT_FALSE(Exists(DesktopLink()));
    EXPECT_FALSE(Exists(ProgramsFolder()));
}

// Points the current user's Programs folder elsewhere for one test, through
// the shell's per-user folder table, and puts the old value back afterwards.
class ProgramsFolderOverride {
  public:
    explicit ProgramsFolderOverride(const std::string& folder) {
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &m_key) !=
            ERROR_SUCCESS) {
            m_key = nullptr;
            return;
        }
        char old[1024] = {};
        DWORD size = sizeof(old);
        m_hadOld = ::RegQueryValueExA(m_key, "Programs", nullptr, &m_oldType,
                                      reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
        m_old.assign(old, size);
        m_set = Set(REG_EXPAND_SZ, std::string(folder.c_str(), folder.size() + 1));
    }
    ~ProgramsFolderOverride() {
        if (m_key == nullptr) {
            return;
        }
        if (m_hadOld) {
            Set(m_oldType, m_old);
        } else {
            ::RegDeleteValueA(m_key, "Programs");
        }
        ::RegCloseKey(m_key);
    }
    ProgramsFolderOverride(const ProgramsFolderOverride&) = delete;
    ProgramsFolderOverride& operator=(const ProgramsFolderOverride&) = delete;

    bool ok() const { return m_set; }

  private:
    static constexpr const char* kKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

    bool Set(DWORD type, const std::string& bytes) const {
        return ::RegSetValueExA(m_key, "Programs", 0, type,
                                reinterpret_cast<const BYTE*>(bytes.data()),
                                static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    }

    HKEY m_key = nullptr;
    bool m_hadOld = false;
    DWORD m_oldType = REG_EXPAND_SZ;
    std::string m_old;
    bool m_set = false;
};

TEST_F(ShortcutsTest, ProgramsLinkThatDoesNotFitIsSkipped) {
    // 240 bytes: "\Qorvane\Qorvane.lnk" (20) makes 260 and does not fit,
    // "\Qorvane\" + kUninstallLinkName (17) makes 257 and does.
    const std::string folder = "C:\\" + std::string(237, 'p');
    ASSERT_EQ(folder.size(), 240u);
    qz::CreateDirectoryChain(folder + "\\");
    const ProgramsFolderOverride programs(folder);
    ASSERT_TRUE(programs.ok());
    ASSERT_EQ(FolderPath(CSIDL_PROGRAMS), folder);
    InstallDir("C:\\Apps\\Qorvane\\");

    EXPECT_EQ(qz::CreateShortcuts(), 0);

    EXPECT_EQ(LinksIn(folder + "\\Qorvane"), std::set<std::string>{kUninstallLinkName});
    ExpectLink(folder + "\\Qorvane\\" + kUninstallLinkName, "C:\\Apps\\Qorvane\\uninstall.exe",
               "C:\\Apps\\Qorvane\\", kUninstallDescription);
    ExpectLink(DesktopLink(), "C:\\Apps\\Qorvane\\ravik.exe", "C:\\Apps\\Qorvane\\", "Qorvane");
}

TEST_F(ShortcutsTest, UnresolvedProgramsFolderGetsNoShortcut) {
    const ProgramsFolderOverride programs("Q:\\no such drive\\Programs");
    ASSERT_TRUE(programs.ok());
    ASSERT_EQ(FolderPath(CSIDL_PROGRAMS), "");
    InstallDir("C:\\Apps\\Qorvane\\");
    // A path that starts with a backslash lands on the current drive; make
    // that the prefix's C: so a fault shows up here, not on the host.
    char savedDir[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, savedDir);
    ASSERT_TRUE(::SetCurrentDirectoryA("C:\\"));

    EXPECT_EQ(qz::CreateShortcuts(), 0);

    ExpectLink(DesktopLink(), "C:\\Apps\\Qorvane\\ravik.exe", "C:\\Apps\\Qorvane\\", "Qorvane");
    // An empty folder path must not put the links under the drive root.
    EXPECT_FALSE(Exists("C:\\Qorvane"));
    EXPECT_FALSE(Exists("Q:\\no such drive"));
    ::SetCurrentDirectoryA(savedDir);
}

}  // namespace
