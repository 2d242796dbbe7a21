#include "integration/shortcut_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace qz {
namespace {

const std::string kDesktop = "C:\\users\\root\\Desktop";
const std::string kPrograms =
    "C:\\users\\root\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
// "卸载.lnk" in GBK: D0 B6 = 卸, D4 D8 = 载.
const std::string kUninstallLinkName = "\xD0\xB6\xD4\xD8.lnk";

// A directory path of exactly `length` bytes: "C:\", filler, a final backslash.
std::string DirOfLength(std::size_t length) {
    return "C:\\" + std::string(length - 4, 'a') + "\\";
}

// A folder path (no final backslash) of exactly `length` bytes.
std::string FolderOfLength(std::size_t length) {
    return "C:\\" + std::string(length - 3, 'f');
}

struct PlanCase {
    const char* name;
    std::string install_dir;
    std::string desktop_dir;
    std::string programs_dir;
    ShortcutPlan expected;
};

void ExpectPlan(const PlanCase& c) {
    SCOPED_TRACE(c.name);
    const ShortcutPlan plan = PlanShortcuts(c.install_dir, c.desktop_dir, c.programs_dir);
    EXPECT_EQ(plan.app_target, c.expected.app_target);
    EXPECT_EQ(plan.uninstall_target, c.expected.uninstall_target);
    EXPECT_EQ(plan.working_dir, c.expected.working_dir);
    EXPECT_EQ(plan.desktop_link, c.expected.desktop_link);
    EXPECT_EQ(plan.programs_app_link, c.expected.programs_app_link);
    EXPECT_EQ(plan.programs_uninstall_link, c.expected.programs_uninstall_link);
}

TEST(ShortcutPlan, ComposesTargetsAndLinksFromTheFolders) {
    const PlanCase cases[] = {
        {"plain install directory",
         "D:\\Apps\\Qorvane\\",
         kDesktop,
         kPrograms,
         {"D:\\Apps\\Qorvane\\ravik.exe", "D:\\Apps\\Qorvane\\uninstall.exe", "D:\\Apps\\Qorvane\\",
          kDesktop + "\\Qorvane.lnk", kPrograms + "\\Qorvane\\Qorvane.lnk",
          kPrograms + "\\Qorvane\\" + kUninstallLinkName}},
        // C:\乗嘰\ : 81 5C and 87 5C are double-byte characters whose second
        // byte is a backslash; the directory is used byte for byte.
        {"GBK directory with 0x5C trail bytes",
         "C:\\\x81\x5C\x87\x5C\\",
         kDesktop,
         kPrograms,
         {"C:\\\x81\x5C\x87\x5C\\ravik.exe", "C:\\\x81\x5C\x87\x5C\\uninstall.exe",
          "C:\\\x81\x5C\x87\x5C\\", kDesktop + "\\Qorvane.lnk",
          kPrograms + "\\Qorvane\\Qorvane.lnk", kPrograms + "\\Qorvane\\" + kUninstallLinkName}},
        // A '%' in a folder is text, never a conversion (%n would write).
        {"percent signs in the Programs folder",
         "C:\\Q\\",
         kDesktop,
         "C:\\100%s%n\\Programs",
         {"C:\\Q\\ravik.exe", "C:\\Q\\uninstall.exe", "C:\\Q\\", kDesktop + "\\Qorvane.lnk",
          "C:\\100%s%n\\Programs\\Qorvane\\Qorvane.lnk",
          "C:\\100%s%n\\Programs\\Qorvane\\" + kUninstallLinkName}},
    };
    for (const PlanCase& c : cases) {
        ExpectPlan(c);
    }
}

TEST(ShortcutPlan, UnresolvedFolderGetsNoLinkAtTheDriveRoot) {
    const std::string dir = "C:\\Q\\";
    const PlanCase cases[] = {
        {"desktop unresolved",
         dir,
         "",
         kPrograms,
         {"C:\\Q\\ravik.exe", "C:\\Q\\uninstall.exe", dir, "", kPrograms + "\\Qorvane\\Qorvane.lnk",
          kPrograms + "\\Qorvane\\" + kUninstallLinkName}},
        {"Programs unresolved",
         dir,
         kDesktop,
         "",
         {"C:\\Q\\ravik.exe", "C:\\Q\\uninstall.exe", dir, kDesktop + "\\Qorvane.lnk", "", ""}},
        {"neither resolved",
         dir,
         "",
         "",
         {"C:\\Q\\ravik.exe", "C:\\Q\\uninstall.exe", dir, "", "", ""}},
        {"no install directory", "", kDesktop, kPrograms, {}},
    };
    for (const PlanCase& c : cases) {
        ExpectPlan(c);
    }
}

// Every path must fit 260 bytes with its NUL: 259 bytes is kept, 260 left out.
TEST(ShortcutPlan, PathsThatDoNotFitAreLeftOutNeverCut) {
    const std::string desk247 = FolderOfLength(247);  // + "\Qorvane.lnk" (12) = 259
    const std::string desk248 = FolderOfLength(248);  // = 260
    const std::string prog239 = FolderOfLength(239);  // + "\Qorvane\Qorvane.lnk" (20) = 259
    const std::string prog240 = FolderOfLength(240);  // app link 260, uninstall link (17) 257
    const std::string dir250 =
        DirOfLength(250);  // + "ravik.exe" (9) = 259, + "uninstall.exe" = 263
    const std::string dir259 = DirOfLength(259);  // the directory fits, no target does
    const std::string dir260 = DirOfLength(260);
    const std::string apps = "C:\\Q\\";
    const PlanCase cases[] = {
        {"desktop link of 259 bytes",
         apps,
         desk247,
         "",
         {apps + "ravik.exe", apps + "uninstall.exe", apps, desk247 + "\\Qorvane.lnk", "", ""}},
        {"desktop link of 260 bytes",
         apps,
         desk248,
         "",
         {apps + "ravik.exe", apps + "uninstall.exe", apps, "", "", ""}},
        {"Programs links of 259 and 256 bytes",
         apps,
         "",
         prog239,
         {apps + "ravik.exe", apps + "uninstall.exe", apps, "", prog239 + "\\Qorvane\\Qorvane.lnk",
          prog239 + "\\Qorvane\\" + kUninstallLinkName}},
        {"Programs application link of 260 bytes",
         apps,
         "",
         prog240,
         {apps + "ravik.exe", apps + "uninstall.exe", apps, "", "",
          prog240 + "\\Qorvane\\" + kUninstallLinkName}},
        {"uninstaller target of 263 bytes",
         dir250,
         kDesktop,
         kPrograms,
         {dir250 + "ravik.exe", "", dir250, kDesktop + "\\Qorvane.lnk",
          kPrograms + "\\Qorvane\\Qorvane.lnk", ""}},
        {"install directory of 259 bytes",
         dir259,
         kDesktop,
         kPrograms,
         {"", "", dir259, "", "", ""}},
        {"install directory of 260 bytes", dir260, kDesktop, kPrograms, {}},
    };
    for (const PlanCase& c : cases) {
        ExpectPlan(c);
    }
}

TEST(ShortcutPlan, ComposeInFolderSubstitutesTheFolderOnce) {
    EXPECT_EQ(ComposeInFolder("%s\\x.lnk", "C:\\F"), "C:\\F\\x.lnk");
    EXPECT_EQ(ComposeInFolder("%s\\x.lnk", ""), "");
    // "\x.lnk" is 6 bytes: a folder of 253 bytes makes 259, one of 254 makes 260.
    EXPECT_EQ(ComposeInFolder("%s\\x.lnk", FolderOfLength(253)), FolderOfLength(253) + "\\x.lnk");
    EXPECT_EQ(ComposeInFolder("%s\\x.lnk", FolderOfLength(254)), "");
}

}  // namespace
}  // namespace qz
