#include "uninstall/removal_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/memory_file_system.h"
#include "support/recording_registry_store.h"

namespace qz::test {
namespace {

const char kDir[] = "C:\\Q\\";
const char kDesktop[] = "C:\\users\\u\\Desktop";
const char kPrograms[] = "C:\\users\\u\\Programs";
const char kKey[] = "software\\tarnwell\\velmira";
const char kLog[] =
    "[FILE] ravik.exe\r\n[FILE] uninstall.exe\r\n[FILE] data\\pendrel.exe\r\n"
    "[FILE] data\\skelmot\\setup.exe\r\n";

class Ui : public UninstallUi {
  public:
    bool ProductIsRunning() override { return m_running > 0 && m_running--; }
    bool AskRunningCopy() override {
        ++questions;
        return wait;
    }
    void SetRange(std::int32_t upper) override { range = upper; }
    void SetPosition(std::int32_t position) override { last_position = position; }
    void SetStatus(const std::string& text) override { statuses.push_back(text); }

    void Running(int looks) { m_running = looks; }
    bool wait = true;
    int questions = 0;
    std::int32_t range = -1;
    std::int32_t last_position = -1;
    std::vector<std::string> statuses;

  private:
    int m_running = 0;
};

// A link file of the memory file system holds its target as its contents.
class MemoryLinks : public LinkTargets {
  public:
    explicit MemoryLinks(MemoryFileSystem& fs) : m_fs(fs) {}
    bool ReadTarget(const std::string& link, std::string* target) override {
        if (!m_fs.HasFile(link)) {
            return false;
        }
        *target = m_fs.FileContents(link);
        return true;
    }

  private:
    MemoryFileSystem& m_fs;
};

struct Installed {
    Installed() {
        for (const char* name :
             {"ravik.exe", "uninstall.exe", "data\\pendrel.exe", "data\\skelmot\\setup.exe"}) {
            fs.AddFile(std::string(kDir) + name, name);
        }
        fs.AddFile(std::string(kDir) + "install.log", kLog);
        fs.AddFile(std::string(kDesktop) + "\\Qorvane.lnk", "c:\\q\\RAVIK.EXE");
        fs.AddFile(std::string(kPrograms) + "\\Qorvane\\Qorvane.lnk", "C:\\Q\\ravik.exe");
        fs.AddFile(std::string(kPrograms) + "\\Qorvane\\\xD0\xB6\xD4\xD8.lnk",
                   "C:\\Q\\uninstall.exe");
        registry.AddKey(kHkeyLocalMachine, "software\\tarnwell");
        registry.PutValue(kHkeyLocalMachine, kKey, "ver", {kRegSz, std::string("1.10", 5)});
        registry.PutValue(kHkeyLocalMachine, kKey, "path", {kRegSz, std::string("C:\\Q\\", 6)});
        job.install_dir = kDir;
        job.fs = &fs;
        job.removal = &fs;
        job.ui = &ui;
        job.links = &links;
        job.desktop_dir = kDesktop;
        job.programs_dir = kPrograms;
        job.registry = &registry;
    }

    MemoryFileSystem fs;
    RecordingRegistryStore registry;
    Ui ui;
    MemoryLinks links{fs};
    UninstallJob job;
};

TEST(RemovalPlan, RemovesWhatWasInstalledInOrderAndKeepsWhatTheUserAdded) {
    Installed in;
    in.fs.AddFile("C:\\Q\\data\\mine.txt", "user");
    in.fs.AddFile("C:\\Q\\notes\\a.txt", "user");
    const UninstallOutcome outcome = RemoveInstallation(in.job);

    EXPECT_EQ(outcome.result, kUninstallRemoved);
    EXPECT_TRUE(outcome.left.empty());
    EXPECT_TRUE(outcome.remove_uninstaller);
    const std::vector<std::string> order{
        "C:\\Q\\ravik.exe",
        "C:\\Q\\data\\pendrel.exe",
        "C:\\Q\\data\\skelmot\\setup.exe",
        "C:\\Q\\data\\skelmot",
        "C:\\users\\u\\Desktop\\Qorvane.lnk",
        "C:\\users\\u\\Programs\\Qorvane\\Qorvane.lnk",
        "C:\\users\\u\\Programs\\Qorvane\\\xD0\xB6\xD4\xD8.lnk",
        "C:\\users\\u\\Programs\\Qorvane",
        "C:\\Q\\install.log",
    };
    EXPECT_EQ(in.fs.removed(), order);
    EXPECT_EQ(in.fs.FileContents("C:\\Q\\data\\mine.txt"), "user");
    EXPECT_TRUE(in.fs.HasFile("C:\\Q\\notes\\a.txt"));
    EXPECT_TRUE(in.fs.HasFile("C:\\Q\\uninstall.exe"));
    EXPECT_FALSE(in.registry.HasKey(kHkeyLocalMachine, kKey));
    EXPECT_FALSE(in.registry.HasKey(kHkeyLocalMachine, "software\\tarnwell"));
    EXPECT_EQ(in.ui.range, 4);
    EXPECT_EQ(in.ui.last_position, 4);
    EXPECT_EQ(in.ui.statuses.front(), "C:\\Q\\ravik.exe");

    std::vector<std::string> marked;
    EXPECT_TRUE(RemoveUninstaller(in.fs, kDir, &marked));
    EXPECT_FALSE(in.fs.HasFile("C:\\Q\\uninstall.exe"));
    EXPECT_TRUE(in.fs.HasDirectory("C:\\Q"));  // it holds what the user added
    EXPECT_TRUE(marked.empty());

    // A second run finds no list and removes nothing.
    const std::size_t removed = in.fs.removed().size();
    EXPECT_EQ(RemoveInstallation(in.job).result, kUninstallNothingHere);
    EXPECT_EQ(in.fs.removed().size(), removed);
}

TEST(RemovalPlan, AHostileListRemovesNothing) {
    const char* const lines[] = {
        "[FILE] ..\\..\\sentinel.txt\r\n",
        "[FILE] C:\\sentinel.txt\r\n",
        "[FILE] \\\\?\\C:\\x\r\n",
        "[FILE] a:b\r\n",
        "[FILE] CON\r\n",
        "sentinel.txt\r\n",
    };
    for (const char* line : lines) {
        Installed in;
        in.fs.AddFile("C:\\sentinel.txt", "keep");
        in.fs.AddFile("C:\\Q\\install.log", std::string(kLog) + line);
        const UninstallOutcome outcome = RemoveInstallation(in.job);
        EXPECT_EQ(outcome.result, kUninstallListRefused) << line;
        EXPECT_EQ(outcome.list.bad_line, 5u) << line;
        EXPECT_TRUE(in.fs.removed().empty()) << line;
        EXPECT_TRUE(in.registry.HasKey(kHkeyLocalMachine, kKey)) << line;
        EXPECT_EQ(in.fs.FileContents("C:\\sentinel.txt"), "keep") << line;
    }
}

struct LeftCase {
    const char* what;
    void (*fault)(Installed&);
    std::vector<std::string> left;
    std::string rewritten_log;
};

TEST(RemovalPlan, WhatCannotGoIsReportedAndListedAndTheUninstallerStays) {
    const LeftCase cases[] = {
        {"a file the system refuses",
         [](Installed& in) { in.fs.FailRemove("C:\\Q\\ravik.exe"); },
         {"C:\\Q\\ravik.exe"},
         "[FILE] ravik.exe\r\n[FILE] uninstall.exe\r\n"},
        {"a held file that cannot be marked for the restart",
         [](Installed& in) {
             in.fs.HoldFile("C:\\Q\\ravik.exe");
             in.fs.FailMark("C:\\Q\\ravik.exe");
         },
         {"C:\\Q\\ravik.exe"},
         "[FILE] ravik.exe\r\n[FILE] uninstall.exe\r\n"},
        {"a planted link",
         [](Installed& in) {
             in.fs.AddFile("C:\\Q\\data\\skelmot\\setup.exe", "behind the link");
             in.fs.AddLink("C:\\Q\\data\\skelmot");
         },
         {"C:\\Q\\data\\skelmot\\setup.exe", "C:\\Q\\data\\skelmot"},
         "[FILE] uninstall.exe\r\n[FILE] data\\skelmot\\setup.exe\r\n"},
    };
    for (const LeftCase& c : cases) {
        Installed in;
        c.fault(in);
        const UninstallOutcome outcome = RemoveInstallation(in.job);
        EXPECT_EQ(outcome.result, kUninstallPartly) << c.what;
        EXPECT_FALSE(outcome.remove_uninstaller) << c.what;
        std::vector<std::string> left;
        for (const LeftItem& item : outcome.left) {
            left.push_back(item.path);
        }
        EXPECT_EQ(left, c.left) << c.what;
        EXPECT_EQ(in.fs.FileContents("C:\\Q\\install.log"), c.rewritten_log) << c.what;
        // The application's links go; the uninstaller, its link and the record stay.
        EXPECT_FALSE(in.fs.HasFile("C:\\users\\u\\Desktop\\Qorvane.lnk")) << c.what;
        EXPECT_TRUE(in.fs.HasFile("C:\\users\\u\\Programs\\Qorvane\\\xD0\xB6\xD4\xD8.lnk"))
            << c.what;
        EXPECT_TRUE(in.fs.HasFile("C:\\Q\\uninstall.exe")) << c.what;
        EXPECT_TRUE(in.registry.Value(kHkeyLocalMachine, kKey, "path").has_value()) << c.what;
    }
}

struct HeldCase {
    const char* what;
    const char* held;
    // Marked in order: by the removal, then by the last step.
    std::vector<std::string> marked;
};

TEST(RemovalPlan, AHeldFileAndTheFoldersAboveItAreMarkedAndTheRestGoes) {
    const HeldCase cases[] = {
        {"a file of the install directory", "C:\\Q\\ravik.exe", {"C:\\Q\\ravik.exe", "C:\\Q"}},
        {"a file two folders down",
         "C:\\Q\\data\\skelmot\\setup.exe",
         {"C:\\Q\\data\\skelmot\\setup.exe", "C:\\Q\\data\\skelmot", "C:\\Q\\data", "C:\\Q"}},
        {"the Start menu's shortcut",
         "C:\\users\\u\\Programs\\Qorvane\\Qorvane.lnk",
         {"C:\\users\\u\\Programs\\Qorvane\\Qorvane.lnk", "C:\\users\\u\\Programs\\Qorvane"}},
    };
    for (const HeldCase& c : cases) {
        Installed in;
        in.fs.HoldFile(c.held);
        UninstallOutcome outcome = RemoveInstallation(in.job);
        EXPECT_EQ(outcome.result, kUninstallRestartRequired) << c.what;
        EXPECT_TRUE(outcome.left.empty()) << c.what;
        // The restart completes it: the list, the record and the other
        // shortcuts go now.
        EXPECT_TRUE(outcome.remove_uninstaller) << c.what;
        EXPECT_FALSE(in.fs.HasFile("C:\\Q\\install.log")) << c.what;
        EXPECT_FALSE(in.registry.HasKey(kHkeyLocalMachine, kKey)) << c.what;
        EXPECT_FALSE(in.fs.HasFile("C:\\users\\u\\Desktop\\Qorvane.lnk")) << c.what;
        EXPECT_TRUE(RemoveUninstaller(in.fs, kDir, &outcome.marked)) << c.what;
        EXPECT_FALSE(in.fs.HasFile("C:\\Q\\uninstall.exe")) << c.what;
        EXPECT_EQ(outcome.marked, c.marked) << c.what;
        EXPECT_EQ(in.fs.marked(), c.marked) << c.what;
        EXPECT_TRUE(in.fs.HasFile(c.held)) << c.what;
    }
}

TEST(RemovalPlan, LinksAndRecordOfAnotherInstallationStay) {
    Installed in;
    in.fs.AddFile(std::string(kDesktop) + "\\Qorvane.lnk", "D:\\Q\\ravik.exe");
    in.fs.AddFile(std::string(kPrograms) + "\\Qorvane\\Qorvane.lnk", "C:\\Q\\ravik.exe2");
    in.registry.PutValue(kHkeyLocalMachine, kKey, "path", {kRegSz, std::string("D:\\Q\\", 6)});
    EXPECT_EQ(RemoveInstallation(in.job).result, kUninstallRemoved);
    EXPECT_TRUE(in.fs.HasFile(std::string(kDesktop) + "\\Qorvane.lnk"));
    EXPECT_TRUE(in.fs.HasFile(std::string(kPrograms) + "\\Qorvane\\Qorvane.lnk"));
    EXPECT_FALSE(in.fs.HasFile(std::string(kPrograms) + "\\Qorvane\\\xD0\xB6\xD4\xD8.lnk"));
    EXPECT_TRUE(in.fs.HasDirectory(std::string(kPrograms) + "\\Qorvane"));
    EXPECT_TRUE(in.registry.Value(kHkeyLocalMachine, kKey, "ver").has_value());
    // Nothing of the user's: the folders go, deepest first, and with
    // uninstall.exe the install directory.
    EXPECT_FALSE(in.fs.HasDirectory("C:\\Q\\data"));
    std::vector<std::string> marked;
    EXPECT_TRUE(RemoveUninstaller(in.fs, kDir, &marked));
    EXPECT_FALSE(in.fs.HasDirectory("C:\\Q"));
}

TEST(RemovalPlan, ARunningCopyIsWaitedForOrNothingIsRemoved) {
    Installed refused;
    refused.ui.Running(5);
    refused.ui.wait = false;
    EXPECT_EQ(RemoveInstallation(refused.job).result, kUninstallRunningCopy);
    EXPECT_EQ(refused.ui.questions, 1);
    EXPECT_TRUE(refused.fs.removed().empty());

    Installed waited;
    waited.ui.Running(2);
    EXPECT_EQ(RemoveInstallation(waited.job).result, kUninstallRemoved);
    EXPECT_EQ(waited.ui.questions, 2);
}

TEST(RemovalPlan, InADrivesRootOnlyThePackagesFilesGo) {
    Installed in;
    in.fs.AddFile("C:\\install.log", "[FILE] ravik.exe\r\n[FILE] uninstall.exe\r\n");
    in.fs.AddFile("C:\\ravik.exe", "app");
    in.fs.AddFile("C:\\uninstall.exe", "un");
    in.job.install_dir = "C:\\";
    EXPECT_EQ(RemoveInstallation(in.job).result, kUninstallRemoved);
    std::vector<std::string> marked;
    EXPECT_TRUE(RemoveUninstaller(in.fs, "C:\\", &marked));
    EXPECT_FALSE(in.fs.HasFile("C:\\ravik.exe"));
    EXPECT_TRUE(in.fs.HasFile("C:\\Q\\ravik.exe"));
    EXPECT_TRUE(in.fs.HasFile("C:\\Q\\install.log"));
}

}  // namespace
}  // namespace qz::test
