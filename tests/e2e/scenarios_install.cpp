// The progress page and what the installation leaves behind, as a user meets
// them: a whole installation, the running-copy question, closing attempts
// during a long extraction, and damaged or hostile packages.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "res/resource.h"
#include "robot/files.h"
#include "robot/installer.h"
#include "robot/process.h"
#include "robot/report.h"
#include "robot/scenario.h"
#include "robot/screenshot.h"
#include "robot/system_state.h"
#include "robot/ui.h"

using namespace robot;

namespace {

const char kRunningCopyQuestion[] =
    "安装程序检测到有老版本的 \"Qorvane\" 正在运行。\r\n"
    "请关闭掉相关的程序和文件夹，以便继续安装。\r\n"
    "\r\n"
    "关闭程序后按确定继续安装，按取消退出安装。";
const char kFormatMessage[] = "安装文件格式出错,请检查文件是否受损.";
const char kCloseRefusal[] = "安装过程中不能关闭,请稍候.";
const char kSuccessHeadline[] = "Qorvane 安装完成";
const char kFailedHeadline[] = "安装失败";
const char kAppWindowTitle[] = "Qorvane";
const char kUninstallLink[] = "卸载.lnk";

// ---- Packages -------------------------------------------------------------

// A 32-bit little-endian integer, as the package stores every number.
std::string Le32(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
}

// The 28-byte header: nVersion (4), the two magic letters (2), 18 reserved
// bytes (zero here), nEntryCount (4).
std::string Header(std::int32_t version, char magic0, char magic1, std::int32_t count) {
    return Le32(version) + magic0 + magic1 + std::string(18, '\0') + Le32(count);
}

// One 264-byte directory record: nSize (4), then the 260-byte name field. A
// name shorter than 260 bytes is followed by NULs; one of exactly 260 bytes
// fills the field and has no NUL at all.
std::string Record(std::int32_t size, const std::string& name) {
    std::string field = name.substr(0, 260);
    field.resize(260, '\0');
    return Le32(size) + field;
}

// A package that any reader accepts: header, records, data, in entry order.
struct PackedFile {
    std::string name;
    std::string bytes;
};
std::string BuildPackage(const std::vector<PackedFile>& files) {
    std::string package = Header(1, 'Q', 'Z', static_cast<std::int32_t>(files.size()));
    for (const PackedFile& file : files)
        package += Record(static_cast<std::int32_t>(file.bytes.size()), file.name);
    for (const PackedFile& file : files)
        package += file.bytes;
    return package;
}

// The names of a package's directory records, in directory order, read back
// from its bytes (the header's count at offset 24, records from offset 28).
std::vector<std::string> DirectoryNames(const std::string& package) {
    std::vector<std::string> names;
    if (package.size() < 28)
        return names;
    const auto* b = reinterpret_cast<const unsigned char*>(package.data());
    const std::int32_t count =
        static_cast<std::int32_t>(b[24] | (b[25] << 8) | (b[26] << 16) | (b[27] << 24));
    for (std::int32_t i = 0; i < count; ++i) {
        const size_t at = 28 + 264 * static_cast<size_t>(i);
        if (at + 264 > package.size())
            break;
        const std::string field = package.substr(at + 4, 260);
        names.push_back(field.substr(0, field.find('\0')));
    }
    return names;
}

// install.log for entries named `names`: one "[FILE] name" line each, CR LF.
std::string LogFor(const std::vector<std::string>& names) {
    std::string log;
    for (const std::string& name : names)
        log += "[FILE] " + name + "\r\n";
    return log;
}

// A folder for a scenario's package, outside the folder the installer run
// clears.
std::string PackageFolder() {
    const std::string root = "C:\\qz-e2e\\" + CurrentScenario() + "-package\\";
    RemoveTree(root);
    Require(MakeDirs(root), "the package folder can be made");
    return root;
}

// Writes `bytes` as the scenario's data.dat and returns its path.
std::string WritePackage(const std::string& bytes) {
    const std::string package = PackageFolder() + "data.dat";
    Require(WriteWholeFile(package, bytes), "the package is written");
    return package;
}

// The payload of the whole installation, relative name -> bytes: the four
// payload programs, an empty file, a file of 70000 bytes (copied in pieces of
// 30720, 30720 and 8560) and a file in a GBK-named folder whose name holds
// 0x5C trail bytes.
std::map<std::string, std::string> FullPayload() {
    const std::string programs = WithSlash(PayloadProgramsDir());
    std::map<std::string, std::string> payload;
    const std::pair<const char*, const char*> copies[] = {
        {"ravik.exe", "ravik.exe"},
        {"uninstall.exe", "uninstall.exe"},
        {"data\\pendrel.exe", "pendrel.exe"},
        {"data\\skelmot\\setup.exe", "setup.exe"},
    };
    for (const auto& copy : copies) {
        bool ok = false;
        payload[copy.first] = ReadWholeFile(programs + copy.second, &ok);
        Require(ok, Format("payload program %s is readable", copy.second));
    }
    payload["empty.txt"] = "";
    std::string big(70000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    payload["data\\big.bin"] = big;
    // 文档\乗嘰.txt: 乗 = 81 5C and 嘰 = 87 5C.
    payload["文档\\乗嘰.txt"] = "GBK name\r\n";
    return payload;
}

// `path` up to and including its last backslash, found character by
// character in GBK so that a trail byte 0x5C (乗 = 81 5C) is not taken for one.
std::string ParentOf(const std::string& path) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c >= 0x81 && c <= 0xFE)
            ++i;
        else if (c == '\\')
            last = i;
    }
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string PackPayload(const std::map<std::string, std::string>& payload) {
    const std::string root = PackageFolder();
    const std::string folder = root + "payload\\";
    for (const auto& file : payload) {
        const std::string path = folder + file.first;
        Require(MakeDirs(ParentOf(path)) && WriteWholeFile(path, file.second),
                "payload file " + Printable(file.first) + " is written");
    }
    const std::string package = root + "data.dat";
    // Without its final backslash: on a command line "...\" would escape the
    // closing quote.
    PackFolder(root + "payload", package);
    return package;
}

SetupOptions WithPackage(const std::string& package) {
    SetupOptions options;
    options.package = package;
    return options;
}

// ---- The progress page ----------------------------------------------------

struct ProgressView {
    int position = -1;
    int upper = -1;
    std::string status;
};

ProgressView Look(HWND page) {
    ProgressView view;
    HWND bar = Item(page, IDC_PROGRESS);
    view.position = static_cast<int>(::SendMessageA(bar, PBM_GETPOS, 0, 0));
    view.upper = static_cast<int>(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
    view.status = WindowText(Item(page, IDC_STATUS));
    return view;
}

// Watches the page until it closes; returns the last view taken while its
// controls still existed (-1 fields when none was).
ProgressView WatchUntilClosed(HWND page, DWORD ms) {
    ProgressView last;
    const DWORD start = ::GetTickCount();
    while (::IsWindow(page) && ::GetTickCount() - start < ms) {
        HWND bar = Item(page, IDC_PROGRESS);
        HWND status = Item(page, IDC_STATUS);
        const ProgressView view = Look(page);
        if (bar != nullptr && status != nullptr && ::IsWindow(bar) && ::IsWindow(status))
            last = view;
        ::Sleep(1);
    }
    return last;
}

// The visible message boxes of the program.
std::vector<HWND> MessageBoxes(Installer& run) {
    std::vector<HWND> boxes;
    for (HWND dialog : Dialogs(run.Pid())) {
        if (WindowText(dialog) == run.AppName() && ::GetDlgItem(dialog, 0xFFFF) != nullptr)
            boxes.push_back(dialog);
    }
    return boxes;
}

// Waits for a message box with `text`, checks it is the only one, and
// returns it (the scenario ends when none comes).
HWND ExpectMessage(Installer& run, const std::string& text, const std::string& what) {
    HWND box = run.WaitMessage();
    Require(box != nullptr, what + " appears");
    CheckEqual(MessageBoxText(box), text, what + ": text");
    CheckEqual(static_cast<long long>(MessageBoxes(run).size()), 1, what + ": the only message");
    return box;
}

void Answer(HWND box, int button) {
    Click(box, button);
    Check(WaitGone(box), "the message closes");
}

// Checks for a while that no further message box shows up beside the
// `open` ones.
void ExpectNoNewMessage(Installer& run, size_t open, const std::string& what) {
    Check(!WaitUntil([&] { return MessageBoxes(run).size() > open; }, 1000), what);
}

// ---- The finish page and the leftovers ------------------------------------

HWND ExpectFinish(Installer& run, const char* headline) {
    HWND finish = run.WaitFinish();
    Require(finish != nullptr, "the finish page opens");
    CheckEqual(WindowText(Item(finish, IDC_STATUS)), headline, "the finish page's headline");
    return finish;
}

// Leaves the finish page with every box unticked, so that nothing starts.
void EndWizard(Installer& run, HWND finish) {
    for (int id : {IDC_RUN_APP, IDC_OFFER_TOOLBAR, IDC_OFFER_BROWSER}) {
        HWND box = Item(finish, id);
        if (IsShown(box) && CheckState(box) == BST_CHECKED) {
            Click(finish, id);
            WaitUntil([&] { return CheckState(box) == BST_UNCHECKED; });
        }
    }
    Click(finish, IDOK);
    Require(run.WaitExit(), "the wizard ends after Finish");
}

std::string DesktopLink() {
    return DesktopFolder() + "\\Qorvane.lnk";
}
std::string ProgramsAppLink() {
    return ProgramsFolder() + "\\Qorvane\\Qorvane.lnk";
}
std::string ProgramsUninstallLink() {
    return ProgramsFolder() + "\\Qorvane\\" + kUninstallLink;
}

void CheckShortcut(const std::string& link, const std::string& target, const std::string& dir,
                   const std::string& description) {
    const Shortcut s = ReadShortcut(link);
    if (!Check(s.loaded, "shortcut " + Printable(link) + " exists"))
        return;
    CheckEqual(s.target, target, link + ": target");
    CheckEqual(s.workingDirectory, dir, link + ": start directory");
    CheckEqual(s.description, description, link + ": description");
}

void CheckShortcutsFor(const std::string& installDir) {
    CheckShortcut(DesktopLink(), installDir + "ravik.exe", installDir, "Qorvane");
    CheckShortcut(ProgramsAppLink(), installDir + "ravik.exe", installDir, "Qorvane");
    CheckShortcut(ProgramsUninstallLink(), installDir + "uninstall.exe", installDir, "卸载");
    Check(!FileExists(DesktopFolder() + "\\" + kUninstallLink),
          "no uninstall shortcut on the desktop");
}

void CheckNoShortcuts() {
    Check(!FileExists(DesktopLink()), "no desktop shortcut");
    Check(!DirExists(ProgramsFolder() + "\\Qorvane"), "no Programs folder Qorvane");
}

// A window titled like the product, as a running copy shows it: the payload's
// ravik.exe, started by the robot itself.
class RunningCopy {
  public:
    explicit RunningCopy(const std::string& workDir) {
        Require(m_process.Start(WithSlash(PayloadProgramsDir()) + "ravik.exe", "", workDir,
                                {{"QZ_LAUNCH_LOG", workDir + "copy-launch.log"}}),
                "a running copy starts");
        Require(WaitUntil([&] { return (m_window = ::FindWindowA(nullptr, kAppWindowTitle)); }),
                "the running copy shows its window titled Qorvane");
    }
    ~RunningCopy() { m_process.Kill(); }
    RunningCopy(const RunningCopy&) = delete;
    RunningCopy& operator=(const RunningCopy&) = delete;

    void Close() {
        Step("close the running copy");
        ::PostMessageA(m_window, WM_CLOSE, 0, 0);
        Require(WaitGone(m_window), "the running copy's window closes");
        Check(m_process.WaitExit(kWait), "the running copy ends");
    }

  private:
    Process m_process;
    HWND m_window = nullptr;
};

// ---- Scenarios ------------------------------------------------------------

// Every file of the payload byte for byte, install.log exactly, the progress
// bar at the end of its range, the three shortcuts.
void InstallFull() {
    // C:\程序\乗嘰\Qorvane\ : the directory levels end in 0x5C trail bytes.
    const std::string dir = "C:\\程序\\乗嘰\\Qorvane\\";
    const std::map<std::string, std::string> payload = FullPayload();
    const std::string package = PackPayload(payload);
    const std::vector<std::string> names = DirectoryNames(ReadWholeFile(package));
    CheckEqual(static_cast<long long>(names.size()), static_cast<long long>(payload.size()),
               "the package holds every payload file");
    std::int64_t total = 0;
    for (const auto& file : payload)
        total += static_cast<std::int64_t>(file.second.size());

    Installer run(WithPackage(package));
    run.Start();
    HWND progress = WalkToProgress(run, dir);
    // The page stays at its end only while the shortcuts are made: watch at once.
    const ProgressView end = WatchUntilClosed(progress, 60000);
    Require(!::IsWindow(progress), "the progress page closes by itself");
    CheckEqual(end.upper, total, "the progress range's upper end: every byte of the package");
    CheckEqual(end.position, total, "the progress bar stands at the end of its range");
    CheckEqual(end.status, dir + names.back(), "the status line names the last file written");

    HWND finish = ExpectFinish(run, kSuccessHeadline);
    Screenshot("finish");
    EndWizard(run, finish);

    Step("the installed files");
    for (const auto& file : payload) {
        bool ok = false;
        const std::string bytes = ReadWholeFile(dir + file.first, &ok);
        Check(ok, "installed: " + Printable(file.first));
        Check(ok && bytes == file.second, "byte for byte: " + Printable(file.first));
    }
    const std::map<std::string, std::int64_t> tree = ListTree(dir);
    size_t files = 0;
    for (const auto& entry : tree)
        files += entry.second >= 0 ? 1 : 0;
    CheckEqual(static_cast<long long>(files), static_cast<long long>(payload.size() + 1),
               "files in the install directory: the payload and install.log");
    CheckEqual(ReadWholeFile(dir + "install.log"), LogFor(names), "install.log");
    // A separator search that took a trail byte for a backslash would have
    // made levels named by a lone lead byte.
    CheckEqual(static_cast<long long>(ListTree("C:\\程序\\").size()),
               static_cast<long long>(tree.size() + 2),
               "C:\\程序\\ holds only 乗嘰\\ and the installation below it");
    CheckShortcutsFor(dir);
}

// A window titled Qorvane holds the installation: OK while it is open asks
// again, the close box is ignored meanwhile, OK after closing it goes on.
void InstallRunningCopyWaits() {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    const std::string package = WritePackage(BuildPackage({{"ravik.exe", "app"}}));
    Installer run(WithPackage(package));
    RunningCopy copy(run.WorkDir());
    run.Start();
    HWND progress = WalkToProgress(run, dir);

    HWND question = ExpectMessage(run, kRunningCopyQuestion, "the running-copy question");
    Screenshot("running-copy-question");
    Check(!DirExists(dir), "nothing is written while the question waits");

    Step("the close box while the question waits");
    SystemCommand(progress, SC_CLOSE);
    ::PostMessageA(progress, WM_CLOSE, 0, 0);
    ExpectNoNewMessage(run, 1, "no close refusal on top of the question");
    Check(::IsWindow(progress) && ::IsWindow(question), "the page and the question stay");

    Step("OK while the copy still runs");
    Answer(question, IDOK);
    question = ExpectMessage(run, kRunningCopyQuestion, "the question, asked again");
    Check(!DirExists(dir), "still nothing written");

    copy.Close();
    Step("OK after the copy has closed");
    Answer(question, IDOK);
    HWND finish = ExpectFinish(run, kSuccessHeadline);
    CheckEqual(ReadWholeFile(dir + "ravik.exe"), "app", "the file is installed");
    CheckEqual(ReadWholeFile(dir + "install.log"), "[FILE] ravik.exe\r\n", "install.log");
    CheckShortcutsFor(dir);
    EndWizard(run, finish);
}

// Cancel at the running-copy question: nothing written, the failure view.
void InstallRunningCopyCancel() {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    const std::string package = WritePackage(BuildPackage({{"ravik.exe", "app"}}));
    Installer run(WithPackage(package));
    RunningCopy copy(run.WorkDir());
    run.Start();
    WalkToProgress(run, dir);
    HWND question = ExpectMessage(run, kRunningCopyQuestion, "the running-copy question");
    Answer(question, IDCANCEL);
    HWND finish = ExpectFinish(run, kFailedHeadline);
    Screenshot("failure-view");
    Check(!DirExists(dir), "no install directory");
    Check(!FileExists(dir + "install.log"), "no install.log");
    CheckNoShortcuts();
    EndWizard(run, finish);
    copy.Close();
}

// The package of the long extraction: many files of a few pieces each.
constexpr int kSlowFiles = 3000;
constexpr int kSlowFileSize = 1024;

// Closing attempts during a long extraction: the system menu's Close (as the
// close box and Alt+F4 send it), a WM_CLOSE from another program and Esc show
// the close refusal, Enter does nothing, and the page stays until the worker
// is done.
void InstallCloseRefused() {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    std::vector<PackedFile> files;
    for (int i = 0; i < kSlowFiles; ++i)
        files.push_back(
            {Format("f\\%04d.bin", i), std::string(kSlowFileSize, static_cast<char>(i))});
    const std::string package = WritePackage(BuildPackage(files));
    Installer run(WithPackage(package));
    run.Start();
    HWND progress = WalkToProgress(run, dir);
    Require(WaitUntil([&] { return Look(progress).position > 0; }), "the extraction runs");

    struct Attempt {
        const char* what;
        bool refused;  // the close refusal appears
        void (*act)(HWND page);
    };
    const Attempt attempts[] = {
        {"the system menu's Close", true, [](HWND page) { SystemCommand(page, SC_CLOSE); }},
        {"WM_CLOSE", true, [](HWND page) { ::PostMessageA(page, WM_CLOSE, 0, 0); }},
        {"Esc", true, [](HWND page) { PressKey(page, VK_ESCAPE); }},
        {"Enter", false, [](HWND page) { PressKey(page, VK_RETURN); }},
    };
    bool shot = false;
    for (const Attempt& attempt : attempts) {
        Step(attempt.what);
        const ProgressView before = Look(progress);
        Require(before.position < before.upper, "the extraction is still running");
        attempt.act(progress);
        if (attempt.refused) {
            HWND box = ExpectMessage(run, kCloseRefusal, "the close refusal");
            if (!shot) {
                Screenshot("close-refusal");
                shot = true;
            }
            Answer(box, IDOK);
        } else {
            ExpectNoNewMessage(run, 0, "no message");
        }
        Check(::IsWindow(progress), "the progress page stays");
    }
    Screenshot("progress-running");
    const ProgressView end = WatchUntilClosed(progress, 200000);
    Require(!::IsWindow(progress), "the progress page closes once the extraction is done");
    CheckEqual(end.position, end.upper, "the progress bar reached its end");
    HWND finish = ExpectFinish(run, kSuccessHeadline);
    EndWizard(run, finish);
    const std::string log = ReadWholeFile(dir + "install.log");
    CheckEqual(static_cast<long long>(log.size()),
               static_cast<long long>(kSlowFiles * std::string("[FILE] f\\0000.bin\r\n").size()),
               "install.log lists every file");
    bool ok = false;
    const std::string last = ReadWholeFile(dir + Format("f\\%04d.bin", kSlowFiles - 1), &ok);
    Check(ok && last == files.back().bytes, "the last file is whole");
}

// The package ends inside the last file: the format message while the page
// still shows that file, the partial file and the log naming it last.
void InstallTruncated() {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    const std::string whole = BuildPackage({{"ravik.exe", "app"},
                                            {"uninstall.exe", "un"},
                                            {"data\\last.bin", std::string(100000, 'L')}});
    // The last 1000 bytes of data.bin are missing.
    const std::string package = WritePackage(whole.substr(0, whole.size() - 1000));
    Installer run(WithPackage(package));
    run.Start();
    HWND progress = WalkToProgress(run, dir);
    HWND box = ExpectMessage(run, kFormatMessage, "the format message");
    Screenshot("format-message");
    const ProgressView view = Look(progress);
    CheckEqual(view.status, dir + "data\\last.bin", "the status line names the damaged file");
    CheckEqual(view.upper, 100005, "the range covers the sizes the directory declares");
    CheckEqual(view.position, 100005 - 1000, "the bar stands at the bytes written");
    Answer(box, IDOK);
    HWND finish = ExpectFinish(run, kFailedHeadline);

    CheckEqual(ReadWholeFile(dir + "ravik.exe"), "app", "the first file is whole");
    CheckEqual(ReadWholeFile(dir + "uninstall.exe"), "un", "the second file is whole");
    CheckEqual(ReadWholeFile(dir + "data\\last.bin"), std::string(99000, 'L'),
               "the damaged file holds the bytes that were present");
    CheckEqual(ReadWholeFile(dir + "install.log"),
               "[FILE] ravik.exe\r\n[FILE] uninstall.exe\r\n[FILE] data\\last.bin\r\n",
               "install.log names the damaged file last");
    CheckNoShortcuts();
    EndWizard(run, finish);
}

struct RejectedPackage {
    const char* what;
    bool present;        // false: no data.dat at all
    std::string bytes;   // the package
    const char* escape;  // a path that a package escaping the directory would write
};

// Each package is refused with the format message before anything is written.
void RunRejected(const std::vector<RejectedPackage>& packages) {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    bool shot = false;
    for (const RejectedPackage& p : packages) {
        Step(p.what);
        SetupOptions options;
        if (p.present)
            options.package = WritePackage(p.bytes);
        Installer run(options);
        run.Start();
        WalkToProgress(run, dir);
        HWND box = ExpectMessage(run, kFormatMessage, "the format message");
        if (!shot) {
            Screenshot("rejected");
            shot = true;
        }
        Answer(box, IDOK);
        HWND finish = ExpectFinish(run, kFailedHeadline);
        Check(!DirExists(dir), "no install directory");
        if (p.escape != nullptr)
            Check(!FileExists(p.escape), Format("nothing written at %s", p.escape));
        CheckNoShortcuts();
        EndWizard(run, finish);
    }
}

void InstallBadHeader() {
    RunRejected({
        {"no data.dat", false, "", nullptr},
        // nVersion 2 (02 00 00 00), "QZ", no entries.
        {"version 2", true, Header(2, 'Q', 'Z', 0), nullptr},
        // nVersion 1, the magic letters swapped ("ZQ").
        {"magic swapped", true, Header(1, 'Z', 'Q', 0), nullptr},
        // 01 00 00 00 'Q': the file ends before the second magic letter,
        // which then counts as zero.
        {"five bytes", true, std::string("\x01\x00\x00\x00Q", 5), nullptr},
    });
}

void InstallHostileDirectory() {
    const std::string header1 = Header(1, 'Q', 'Z', 1);
    // Names Windows cannot create, each behind a good first entry that would
    // be written first if the check came late: two records, first.txt (3
    // bytes), then the refused name (1 byte), then the data "abc" and "x".
    const auto second = [](const std::string& name) {
        return Header(1, 'Q', 'Z', 2) + Record(3, "first.txt") + Record(1, name) + "abc" + "x";
    };
    // A pair the other way round: a file inside a folder (1 byte, "x"), then
    // a file named like that folder (3 bytes, "abc").
    const auto folder_first = [](const std::string& inside, const std::string& file) {
        return Header(1, 'Q', 'Z', 2) + Record(1, inside) + Record(3, file) + "x" + "abc";
    };
    RunRejected({
        // One entry of 3 bytes named ..\escape.txt, then its data "abc".
        {"a parent-directory name", true, header1 + Record(3, "..\\escape.txt") + "abc",
         "C:\\qz-install\\escape.txt"},
        // One entry of 3 bytes named with a drive: C:\escape.txt.
        {"a drive in the name", true, header1 + Record(3, "C:\\escape.txt") + "abc",
         "C:\\escape.txt"},
        // One entry of 3 bytes named \escape.txt (from the drive root).
        {"a leading backslash", true, header1 + Record(3, "\\escape.txt") + "abc",
         "C:\\escape.txt"},
        // The header promises 2 records; the file ends after the first.
        {"a directory that ends early", true, Header(1, 'Q', 'Z', 2) + Record(0, "a.txt"), nullptr},
        // The name field holds 260 x 'a' and no NUL.
        {"a name without its NUL", true, header1 + Record(0, std::string(260, 'a')), nullptr},
        {"a level holding <", true, second("a<b.txt"), nullptr},
        {"a level holding >", true, second("sub\\a>b.txt"), nullptr},
        {"a level holding \"", true, second("say\"hi\".txt"), nullptr},
        {"a level holding |", true, second("a|b\\c.txt"), nullptr},
        {"a level holding ?", true, second("what?.txt"), nullptr},
        {"a level holding *", true, second("*.txt"), nullptr},
        // 256 letters: one character more than a level may hold.
        {"a level of 256 characters", true, second(std::string(256, 'a')), nullptr},
        {"install.log at the top", true, second("install.log"), nullptr},
        {"INSTALL.LOG at the top", true, second("INSTALL.LOG"), nullptr},
        // first.txt, then first.txt\x.txt: a file where a folder must be.
        {"a file, then a folder of its name", true, second("first.txt\\x.txt"), nullptr},
        // DATA\x.txt, then data: the other order, in other letters.
        {"a folder, then a file of its name", true, folder_first("DATA\\x.txt", "data"), nullptr},
    });
}

// The smallest package: 01 00 00 00 'Q' 'Z' and nothing more; the missing
// entry count counts as zero. The install directory and an empty install.log
// are made, and the installation succeeds with its shortcuts.
void InstallEmptyPackage() {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    Installer run(WithPackage(WritePackage(std::string("\x01\x00\x00\x00QZ", 6))));
    run.Start();
    HWND progress = WalkToProgress(run, dir);
    const ProgressView end = WatchUntilClosed(progress, 60000);
    CheckEqual(end.upper, 0, "the progress range is 0 .. 0");
    HWND finish = ExpectFinish(run, kSuccessHeadline);
    bool ok = false;
    CheckEqual(ReadWholeFile(dir + "install.log", &ok), "", "install.log is empty");
    Check(ok, "install.log exists");
    CheckShortcutsFor(dir);
    EndWizard(run, finish);
}

const Scenario full("install_full", &InstallFull);
const Scenario runningWaits("install_running_copy_waits", &InstallRunningCopyWaits);
const Scenario runningCancel("install_running_copy_cancel", &InstallRunningCopyCancel);
const Scenario closeRefused("install_close_refused", &InstallCloseRefused);
const Scenario truncated("install_truncated", &InstallTruncated);
const Scenario badHeader("install_bad_header", &InstallBadHeader);
const Scenario hostile("install_hostile_directory", &InstallHostileDirectory);
const Scenario empty("install_empty_package", &InstallEmptyPackage);

}  // namespace
