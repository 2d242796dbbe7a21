// The finish page: the registry record, the two views (success and failure)
// and the programs that Finish starts, as a user meets them; and a whole
// wizard run from a folder where DLLs named like system DLLs were planted.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "framework/handles.h"
#include "res/resource.h"
#include "robot/centring.h"
#include "robot/expected_texts.h"
#include "robot/files.h"
#include "robot/installer.h"
#include "robot/packages.h"
#include "robot/record_check.h"
#include "robot/report.h"
#include "robot/scenario.h"
#include "robot/screenshot.h"
#include "robot/shortcut_checks.h"
#include "robot/system_state.h"
#include "robot/ui.h"

using namespace robot;

namespace {

const char kToolbar[] = "data\\pendrel.exe";
const char kApp[] = "ravik.exe";
const char kBrowser[] = "data\\skelmot\\setup.exe";

// The payload stand-ins record their start in the launch log and exit; the
// application stays up with a window titled like the product
// (kAppWindowTitle).

struct PackageRecipe {
    bool withToolbar = true;
    // A last entry of this many bytes (0: none) that a truncated package cuts
    // short, so that the entries before it are installed whole.
    int fillerBytes = 0;
    // Bytes cut off the end of the packed file.
    int truncateBy = 0;
};

// Packs the four payload programs (the toolbar one optional) as the product's
// package and returns its path. Built outside the scenario's work folder,
// which the installer run clears.
std::string MakePackage(const PackageRecipe& recipe) {
    const std::string root = PackageFolder();
    const std::string folder = root + "payload\\";
    Require(MakeDirs(folder + "data\\skelmot\\"), "the payload folder can be made");
    const std::string programs = WithSlash(PayloadProgramsDir());
    Require(CopyOneFile(programs + "ravik.exe", folder + kApp) &&
                CopyOneFile(programs + "uninstall.exe", folder + "uninstall.exe") &&
                CopyOneFile(programs + "setup.exe", folder + kBrowser),
            "the payload programs are copied");
    if (recipe.withToolbar) {
        Require(CopyOneFile(programs + "pendrel.exe", folder + kToolbar),
                "the toolbar program is copied");
    }
    if (recipe.fillerBytes > 0) {
        Require(WriteWholeFile(folder + "zz-filler.bin", std::string(recipe.fillerBytes, 'z')),
                "the filler file is written");
    }
    const std::string package = root + "data.dat";
    // Without its final backslash: before a closing quote it would escape it.
    PackFolder(root + "payload", package);
    if (recipe.truncateBy > 0) {
        bool ok = false;
        std::string bytes = ReadWholeFile(package, &ok);
        Require(ok && bytes.size() > static_cast<size_t>(recipe.truncateBy),
                "the package can be read back");
        bytes.resize(bytes.size() - static_cast<size_t>(recipe.truncateBy));
        Require(WriteWholeFile(package, bytes), "the package is cut short");
    }
    return package;
}

HWND WaitFinishPage(Installer& run) {
    HWND finish = run.WaitFinish();
    Require(finish != nullptr, "the finish page opens");
    return finish;
}

// Answers the one failure message of the progress page with OK after checking
// its text.
void AnswerFailureMessage(Installer& run, const std::string& expected) {
    HWND box = run.WaitMessage(Buttons::kOk);
    Require(box != nullptr, "a failure message appears");
    CheckEqual(MessageBoxText(box), expected, "failure message text");
    Click(box, IDOK);
    Check(WaitGone(box), "the message closes");
}

void CheckSuccessView(HWND finish) {
    CheckEqual(WindowText(Item(finish, IDC_STATUS)), kSuccessHeadline, "success headline");
    const int boxes[] = {IDC_RUN_APP, IDC_OFFER_TOOLBAR, IDC_OFFER_BROWSER};
    for (int id : boxes) {
        HWND box = Item(finish, id);
        Check(IsShown(box) && IsEnabled(box), Format("box %d is shown and usable", id));
        CheckEqual(CheckState(box), BST_CHECKED, Format("box %d is ticked", id));
    }
    Check(FocusOf(finish) == Item(finish, IDOK), "the keyboard focus is on Finish");
    CheckCentred(finish, "the finish page");
}

void CheckFailureView(HWND finish) {
    CheckEqual(WindowText(Item(finish, IDC_STATUS)), kFailedHeadline, "failure headline");
    Check(!IsShown(Item(finish, IDC_RUN_APP)), "the run box is hidden");
    CheckEqual(CheckState(Item(finish, IDC_RUN_APP)), BST_UNCHECKED, "the run box is unticked");
    for (int id : {IDC_OFFER_TOOLBAR, IDC_OFFER_BROWSER}) {
        HWND box = Item(finish, id);
        Check(IsShown(box) && IsEnabled(box), Format("offer %d is shown and usable", id));
        CheckEqual(CheckState(box), BST_UNCHECKED, Format("offer %d is unticked", id));
    }
    Check(FocusOf(finish) == Item(finish, IDOK), "the keyboard focus is on Finish");
    CheckCentred(finish, "the finish page");
}

void Untick(HWND finish, int id) {
    Click(finish, id);
    Check(WaitUntil([&] { return CheckState(Item(finish, id)) == BST_UNCHECKED; }),
          Format("box %d is unticked by a click", id));
}

void Tick(HWND finish, int id) {
    Click(finish, id);
    Check(WaitUntil([&] { return CheckState(Item(finish, id)) == BST_CHECKED; }),
          Format("box %d is ticked by a click", id));
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::set<DWORD> RunningPids() {
    std::set<DWORD> pids;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return pids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL ok = ::Process32First(snapshot, &entry); ok; ok = ::Process32Next(snapshot, &entry)) {
        pids.insert(entry.th32ProcessID);
    }
    ::CloseHandle(snapshot);
    return pids;
}

// Watches the process list for payload programs that start after the watcher
// was made, and orders them by their creation time.
class StartWatcher {
  public:
    StartWatcher() : m_before(RunningPids()), m_since(Now() - kSecond) {}

    // Polls until `count` programs have been seen or `ms` have passed.
    void WaitFor(size_t count, DWORD ms) {
        WaitUntil(
            [&] {
                Poll();
                return m_started.size() >= count;
            },
            ms);
    }

    // The file names (lower case) of the programs seen, oldest first.
    std::vector<std::string> Order() const {
        std::vector<Started> started = m_started;
        std::stable_sort(started.begin(), started.end(),
                         [](const Started& a, const Started& b) { return a.created < b.created; });
        std::vector<std::string> names;
        for (const Started& program : started)
            names.push_back(program.name);
        return names;
    }

    // Payload programs running now that were not running when the watcher
    // was made, whatever state their start is in.
    size_t Newcomers() const {
        size_t count = 0;
        HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE)
            return 0;
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL ok = ::Process32First(snapshot, &entry); ok;
             ok = ::Process32Next(snapshot, &entry)) {
            if (kPayloads.count(Lower(BaseName(entry.szExeFile))) != 0 &&
                m_before.count(entry.th32ProcessID) == 0) {
                ++count;
            }
        }
        ::CloseHandle(snapshot);
        return count;
    }

  private:
    static constexpr ULONGLONG kSecond = 10000000;  // in FILETIME units of 100 ns

    static ULONGLONG Now() {
        FILETIME now{};
        ::GetSystemTimeAsFileTime(&now);
        return ToTicks(now);
    }
    static ULONGLONG ToTicks(const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    }

    struct Started {
        std::string name;
        ULONGLONG created;
    };

    const std::set<std::string> kPayloads = {"pendrel.exe", "ravik.exe", "setup.exe",
                                             "uninstall.exe"};

    void Poll() {
        const std::set<std::string>& payloads = kPayloads;
        HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE)
            return;
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL ok = ::Process32First(snapshot, &entry); ok;
             ok = ::Process32Next(snapshot, &entry)) {
            const DWORD pid = entry.th32ProcessID;
            const std::string name = Lower(BaseName(entry.szExeFile));
            if (payloads.count(name) == 0 || m_before.count(pid) != 0 || m_seen.count(pid) != 0) {
                continue;
            }
            HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
            if (process == nullptr)
                continue;
            FILETIME created{};
            FILETIME unused{};
            // A process that is still being set up may report a creation time
            // that is not one yet; it is read again at the next poll.
            if (::GetProcessTimes(process, &created, &unused, &unused, &unused) &&
                ToTicks(created) >= m_since && ToTicks(created) <= Now() + kSecond) {
                m_seen.insert(pid);
                m_started.push_back({name, ToTicks(created)});
            }
            ::CloseHandle(process);
        }
        ::CloseHandle(snapshot);
    }

    std::set<DWORD> m_before;
    ULONGLONG m_since;
    std::set<DWORD> m_seen;
    std::vector<Started> m_started;
};

// The lines of the launch log, without their line ends.
std::vector<std::string> LaunchLines(const std::string& log) {
    std::vector<std::string> lines;
    const std::string text = ReadWholeFile(log);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

// Presses Finish and checks that exactly `programs` (relative names, in the
// order given) start, each with the installer's own folder as its current
// folder, and that the installer then ends.
void FinishAndExpectStarts(Installer& run, HWND finish, const std::string& installDir,
                           const std::vector<std::string>& programs) {
    StartWatcher watcher;
    {
        // The launch log held shut: a payload program that starts meanwhile
        // waits for it (it retries for a few seconds) and so stays in the
        // process list, where its creation time can be read.
        FileHold hold(run.LaunchLog());
        Step("press Finish");
        Click(finish, IDOK);
        Require(run.WaitExit(), "Finish ends the program");
        // Every program the installer started exists once it has ended, and
        // waits for the log: one look counts them all.
        watcher.WaitFor(programs.size(), 4000);
        CheckEqual(static_cast<long long>(watcher.Newcomers()),
                   static_cast<long long>(programs.size()), "payload programs started");
    }
    CheckEqual(run.process().ExitCode(), 0, "the installer's exit code");

    std::vector<std::string> expectedOrder;
    std::vector<std::string> expectedLines;
    const std::string setupDir = run.SetupDir().substr(0, run.SetupDir().size() - 1);
    for (const std::string& program : programs) {
        expectedOrder.push_back(Lower(BaseName(program)));
        expectedLines.push_back(installDir + program + "|" + setupDir);
    }
    CheckEqual(Joined(watcher.Order()), Joined(expectedOrder),
               "programs started, in order of creation");

    Check(WaitUntil([&] { return LaunchLines(run.LaunchLog()).size() >= programs.size(); }),
          "every started program has recorded its start");
    std::vector<std::string> lines = LaunchLines(run.LaunchLog());
    // Programs started together may record their lines in any order.
    std::sort(lines.begin(), lines.end());
    std::sort(expectedLines.begin(), expectedLines.end());
    CheckEqual(Joined(lines), Joined(expectedLines), "launch log: program|current folder");
}

// Closes the application's window that Finish opened, so that nothing of the
// scenario keeps running.
void CloseApplication() {
    HWND app = nullptr;
    WaitUntil([&] { return (app = ::FindWindowA(nullptr, kAppWindowTitle)) != nullptr; }, 5000);
    if (app != nullptr) {
        ::PostMessageA(app, WM_CLOSE, 0, 0);
        Check(WaitGone(app), "the application's window closes");
    }
}

// Ends the page without Finish (`key` Esc, or 0 for the close box) and checks
// that nothing starts although every box is ticked.
void LeaveWithoutFinish(UINT key) {
    Installer run(WithPackage(MakePackage({})));
    run.Start();
    const std::string dir = "C:\\qz-finish\\Qorvane\\";
    WalkToProgress(run, dir);
    HWND finish = WaitFinishPage(run);
    CheckSuccessView(finish);
    StartWatcher watcher;
    if (key == 0) {
        Step("the close box");
        SystemCommand(finish, SC_CLOSE);
    } else {
        Step("Esc");
        PressKey(finish, key);
    }
    Require(run.WaitExit(), "the page and the program end");
    // A program the installer started exists from the moment the shell
    // returned to it, so once the installer has ended one look is enough.
    CheckEqual(static_cast<long long>(watcher.Newcomers()), 0, "payload programs started");
    CheckEqual(Joined(LaunchLines(run.LaunchLog())), "", "launch log");
    CheckRecord(dir, true);
}

void FinishSuccess() {
    Installer run(WithPackage(MakePackage({})));
    run.Start();
    // 乗 (81 5C): a GBK character whose second byte looks like a backslash.
    const std::string dir = "C:\\qz-finish\\乗\\Qorvane\\";
    WalkToProgress(run, dir);
    HWND finish = WaitFinishPage(run);
    Step("the finish page after a successful installation");
    CheckRecord(dir, true);
    CheckSuccessView(finish);
    Screenshot("finish-success");
    FinishAndExpectStarts(run, finish, dir, {kToolbar, kApp, kBrowser});
    CloseApplication();
}

// One installation into `dir` with every box unticked before Finish: the
// record is written and nothing starts.
void InstallWithoutLaunches(const std::string& package, const std::string& dir) {
    Installer run(WithPackage(package));
    run.Start();
    WalkToProgress(run, dir);
    HWND finish = WaitFinishPage(run);
    CheckRecord(dir, true);
    CheckSuccessView(finish);
    for (int id : {IDC_RUN_APP, IDC_OFFER_TOOLBAR, IDC_OFFER_BROWSER})
        Untick(finish, id);
    FinishAndExpectStarts(run, finish, dir, {});
}

void FinishUntickAll() {
    InstallWithoutLaunches(MakePackage({}), "C:\\qz-finish\\Qorvane\\");
}

void FinishCloseBox() {
    LeaveWithoutFinish(0);
}
void FinishEscape() {
    LeaveWithoutFinish(VK_ESCAPE);
}

void FinishWithoutToolbar() {
    PackageRecipe recipe;
    recipe.withToolbar = false;
    Installer run(WithPackage(MakePackage(recipe)));
    run.Start();
    const std::string dir = "C:\\qz-finish\\Qorvane\\";
    WalkToProgress(run, dir);
    HWND finish = WaitFinishPage(run);
    CheckSuccessView(finish);
    Check(!FileExists(dir + kToolbar), "the toolbar program is not installed");
    FinishAndExpectStarts(run, finish, dir, {kApp, kBrowser});
    CloseApplication();
}

void FinishAfterFailure() {
    // The filler is the package's last entry; cutting 1000 of its 4000 bytes
    // leaves every program installed and the installation failed.
    PackageRecipe recipe;
    recipe.fillerBytes = 4000;
    recipe.truncateBy = 1000;
    Installer run(WithPackage(MakePackage(recipe)));
    run.Start();
    const std::string dir = "C:\\qz-finish\\Qorvane\\";
    WalkToProgress(run, dir);
    AnswerFailureMessage(run, kFormatMessage);
    HWND finish = WaitFinishPage(run);
    Step("the finish page after a failed installation");
    CheckRecord(dir, true);
    CheckFailureView(finish);
    Screenshot("finish-failed");
    Require(FileExists(dir + kToolbar), "the toolbar program was installed before the failure");
    Tick(finish, IDC_OFFER_TOOLBAR);
    FinishAndExpectStarts(run, finish, dir, {kToolbar});
}

void FinishLongDirectory() {
    // 255 bytes with the final backslash: one more than a registry value may
    // hold. Files below it exceed the path limit, so the installation fails.
    const std::string dir = "C:\\qz-finish\\" + std::string(241, 'q') + "\\";
    Require(dir.size() == 255, "the directory is 255 bytes long");
    Installer run(WithPackage(MakePackage({})));
    run.Start();
    WalkToProgress(run, dir);
    AnswerFailureMessage(run, kCreateFileMessage);
    HWND finish = WaitFinishPage(run);
    CheckRecord(dir, false);
    CheckFailureView(finish);
    Tick(finish, IDC_OFFER_BROWSER);
    // The browser installer cannot exist at that length: nothing starts and
    // the page still closes normally.
    FinishAndExpectStarts(run, finish, dir, {});
}

// Writes a REG_SZ under the product key (32-bit view), as an older version
// would have left it.
void PlantValue(const char* name, const std::string& value) {
    HKEY key = nullptr;
    Require(
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0,
                          KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) == ERROR_SUCCESS,
        "the product key can be opened for the test");
    const LONG result =
        ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
    Require(result == ERROR_SUCCESS, Format("\"%s\" can be planted", name));
}

void CheckShortcutTarget(const std::string& lnk, const std::string& target) {
    const Shortcut shortcut = ReadShortcut(lnk);
    Check(shortcut.loaded, "the shortcut " + lnk + " can be read");
    CheckEqual(Lower(shortcut.target), Lower(target), "target of " + lnk);
}

void FinishReinstall() {
    const std::string package = MakePackage({});
    const std::string first = "C:\\qz-finish\\first\\";
    const std::string second = "C:\\qz-finish\\second\\";
    Step("the first installation");
    InstallWithoutLaunches(package, first);
    Step("an older version's record");
    PlantValue("ver", "0.99");
    Step("the second installation, into another directory");
    InstallWithoutLaunches(package, second);

    CheckShortcutTarget(DesktopLink(), second + kApp);
    CheckShortcutTarget(ProgramsAppLink(), second + kApp);
    CheckShortcutTarget(ProgramsUninstallLink(), second + "uninstall.exe");
}

// A planted DLL (planted/planted.cpp) records its loading in this file
// beside itself.
constexpr char kPlantedRecord[] = "planted.log";

// Install.exe in a folder that also holds DLLs named like system DLLs
// (QZ_PLANTED_DLLS), with the load order that Windows applies to DLLs outside
// its known DLLs: the copy in the program's folder first. The whole wizard, up
// to the programs Finish starts, and then an unattended installation run
// without loading any of them.
void FinishPlantedDlls() {
    const std::string list = Env("QZ_PLANTED_DLLS");
    std::vector<std::string> names;
    for (size_t start = 0; start < list.size();) {
        const size_t comma = std::min(list.find(',', start), list.size());
        names.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    Require(std::find(names.begin(), names.end(), "comctl32") != names.end(),
            "comctl32 is among the planted names: " + list);
    Require(Env("WINEDLLOVERRIDES").find(list + "=n,b") != std::string::npos,
            "Wine loads the planted names from the program's folder first: WINEDLLOVERRIDES=" +
                Env("WINEDLLOVERRIDES"));
    Installer run(WithPackage(MakePackage({})));
    const std::string planted = RequiredPathEnv("QZ_PLANTED_DLL");
    for (const std::string& name : names) {
        Require(CopyOneFile(planted, run.SetupDir() + name + ".dll"),
                name + ".dll is planted beside Install.exe");
    }
    const std::string record = run.SetupDir() + kPlantedRecord;

    // A copy that does not record its loading would let the check below pass
    // whatever the program does: the robot loads one itself first.
    const auto notLoaded = std::find_if(names.begin(), names.end(), [](const std::string& name) {
        return ::GetModuleHandleA(name.c_str()) == nullptr;
    });
    Require(notLoaded != names.end(), "the robot has not loaded every planted name itself");
    const std::string probe = run.SetupDir() + *notLoaded + ".dll";
    Step("the robot loads " + probe);
    {
        const UniqueModule loaded(::LoadLibraryA(probe.c_str()));
        Require(static_cast<bool>(loaded), "the planted copy loads");
    }
    char robot[MAX_PATH] = {};
    const DWORD robotLength = ::GetModuleFileNameA(nullptr, robot, MAX_PATH);
    CheckEqual(ReadWholeFile(record), probe + "|" + std::string(robot, robotLength) + "\r\n",
               "the planted copy records its loading");
    Require(::DeleteFileA(record.c_str()) != 0, "the record is emptied again");

    run.Start();
    const bool started = run.WaitHost() != nullptr;
    CheckEqual(ReadWholeFile(record), "", "planted DLLs loaded as the program starts");
    Require(started, "the host dialog appears");
    const std::string dir = "C:\\qz-finish\\Qorvane\\";
    WalkToProgress(run, dir);
    HWND finish = WaitFinishPage(run);
    CheckRecord(dir, true);
    CheckSuccessView(finish);
    FinishAndExpectStarts(run, finish, dir, {kToolbar, kApp, kBrowser});
    CloseApplication();
    CheckEqual(ReadWholeFile(record), "", "planted DLLs loaded during the whole wizard");

    Step("the same setup folder, unattended");
    run.Start("/S /D=C:\\qz-unattended\\Qorvane");
    Require(run.WaitExit(60000), "the unattended installation ends");
    CheckEqual(run.process().ExitCode(), 0, "the unattended installation succeeds");
    CheckEqual(ReadWholeFile(record), "", "planted DLLs loaded by the unattended installation");
}

const Scenario s1("finish_success", &FinishSuccess);
const Scenario s2("finish_untick_all", &FinishUntickAll);
const Scenario s3("finish_close_box", &FinishCloseBox);
const Scenario s4("finish_escape", &FinishEscape);
const Scenario s5("finish_without_toolbar", &FinishWithoutToolbar);
const Scenario s6("finish_after_failure", &FinishAfterFailure);
const Scenario s7("finish_long_directory", &FinishLongDirectory);
const Scenario s8("finish_reinstall", &FinishReinstall);
const Scenario s9("finish_planted_dlls", &FinishPlantedDlls);

}  // namespace
