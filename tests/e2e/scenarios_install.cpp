// The progress page and what the installation leaves behind, as a user meets
// them: a whole installation, the running-copy question, closing attempts
// during the extraction, damaged or hostile packages, and the faults of a
// user's machine: a full disk and a file another program holds open.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/texts.h"
#include "res/resource.h"
#include "robot/expected_texts.h"
#include "robot/files.h"
#include "robot/folder_browser.h"
#include "robot/installer.h"
#include "robot/packages.h"
#include "robot/page_walks.h"
#include "robot/pinned_packages.h"
#include "support/folder_link_win32.h"
#include "robot/process.h"
#include "robot/progress_view.h"
#include "robot/record_check.h"
#include "robot/report.h"
#include "robot/running_copy.h"
#include "robot/scenario.h"
#include "robot/screenshot.h"
#include "robot/shortcut_checks.h"
#include "robot/system_state.h"
#include "robot/ui.h"
#include "robot/uninstall_entry_check.h"
#include "support/package_bytes.h"

using namespace robot;
using qz::test::EntryBytes;
using qz::test::HeaderBytes;
using qz::test::PackageBytes;
using qz::test::TestFile;

namespace {

// ---- Packages -------------------------------------------------------------

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

// ---- The progress page ----------------------------------------------------

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

// Waits for a message box with `text` and `buttons`, checks it is the only
// one, and returns it (the scenario ends when none comes). Its caption is the
// program's name: the box is found by it.
HWND ExpectMessage(Installer& run, const std::string& text, Buttons buttons,
                   const std::string& what) {
    HWND box = run.WaitMessage(buttons);
    Require(box != nullptr, what + " appears");
    CheckEqual(MessageBoxText(box), text, what + ": text");
    CheckEqual(static_cast<long long>(MessageBoxes(run).size()), 1, what + ": the only message");
    return box;
}

void Answer(HWND box, int button) {
    Click(box, button);
    Check(WaitGone(box), "the message closes");
}

// Sends a closing message to the page and checks that the program handled it
// without opening a message box beside the `open` ones. The dialog manager
// turns a close into a posted Cancel, so the page's posted messages are
// waited for too.
void ExpectIgnored(Installer& run, HWND page, UINT msg, WPARAM wp, size_t open,
                   const std::string& what) {
    const Delivery delivery =
        SendAndWatch(page, msg, wp, 0, [&] { return MessageBoxes(run).size() > open; });
    Check(delivery == Delivery::kHandled, what + ": handled without a message");
    Check(WaitPostedHandled(Item(page, IDC_PROGRESS)), what + ": the page's queue is handled");
    CheckEqual(static_cast<long long>(MessageBoxes(run).size()), static_cast<long long>(open),
               what + ": no new message");
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

// Every file of `payload` (relative name -> bytes) is installed below `dir`,
// byte for byte.
void CheckInstalledFiles(const std::string& dir,
                         const std::map<std::string, std::string>& payload) {
    Step("the installed files");
    for (const auto& file : payload) {
        bool ok = false;
        const std::string bytes = ReadWholeFile(dir + file.first, &ok);
        Check(ok, "installed: " + Printable(file.first));
        Check(ok && bytes == file.second, "byte for byte: " + Printable(file.first));
    }
}

// The finish page after a failed installation: the failure headline and no
// offer to start the application.
HWND ExpectFailureView(Installer& run) {
    HWND finish = ExpectFinish(run, kFailedHeadline);
    Check(!IsShown(Item(finish, IDC_RUN_APP)), "no offer to start the application");
    return finish;
}

// Writes a file of an earlier installation and returns its path.
std::string EarlierFile(const std::string& path, const std::string& bytes) {
    Require(MakeDirs(ParentOf(path)) && WriteWholeFile(path, bytes),
            "the earlier file " + Printable(path) + " is written");
    return path;
}

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

    CheckInstalledFiles(dir, payload);
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
    CheckUninstallEntry(L"C:\\程序\\乗嘰\\Qorvane\\", total);
}

// A window titled Qorvane holds the installation: OK while it is open asks
// again, the close box is ignored meanwhile, OK after closing it goes on.
void InstallRunningCopyWaits() {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    const std::string package = WritePackage(PackageBytes({{"ravik.exe", "app"}}));
    Installer run(WithPackage(package));
    RunningCopy copy(run.WorkDir());
    run.Start();
    HWND progress = WalkToProgress(run, dir);

    HWND question =
        ExpectMessage(run, kRunningCopyQuestion, Buttons::kOkCancel, "the running-copy question");
    Screenshot("running-copy-question");
    Check(!DirExists(dir), "nothing is written while the question waits");

    Step("the close box and WM_CLOSE while the question waits");
    ExpectIgnored(run, progress, WM_SYSCOMMAND, SC_CLOSE, 1, "the close box");
    ExpectIgnored(run, progress, WM_CLOSE, 0, 1, "WM_CLOSE");
    Check(::IsWindow(progress) && ::IsWindow(question), "the page and the question stay");

    Step("OK while the copy still runs");
    Answer(question, IDOK);
    question =
        ExpectMessage(run, kRunningCopyQuestion, Buttons::kOkCancel, "the question, asked again");
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
    const std::string package = WritePackage(PackageBytes({{"ravik.exe", "app"}}));
    Installer run(WithPackage(package));
    RunningCopy copy(run.WorkDir());
    run.Start();
    WalkToProgress(run, dir);
    HWND question =
        ExpectMessage(run, kRunningCopyQuestion, Buttons::kOkCancel, "the running-copy question");
    Answer(question, IDCANCEL);
    HWND finish = ExpectFinish(run, kFailedHeadline);
    Screenshot("failure-view");
    Check(!DirExists(dir), "no install directory");
    Check(!FileExists(dir + "install.log"), "no install.log");
    CheckNoShortcuts();
    EndWizard(run, finish);
    copy.Close();
}

// Closing attempts while the extraction is in state 3: the robot holds the
// package's second file, so the worker stops at it and waits on its own
// create-file message for as long as the robot likes. Meanwhile the system
// menu's Close (as the close box and Alt+F4 send it), a WM_CLOSE from
// another program and Esc show the close refusal, Enter does nothing, and
// the page stays until the worker is done.
void InstallCloseRefused() {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    const std::string package =
        WritePackage(PackageBytes({{"a.bin", std::string(70000, 'a')}, {"held.bin", "new"}}));
    FileHold held(EarlierFile(dir + "held.bin", "old"));
    Installer run(WithPackage(package));
    run.Start();
    HWND progress = WalkToProgress(run, dir);
    HWND worker = ExpectMessage(run, kCreateFileMessage, Buttons::kOk, "the worker's message");
    CheckEqual(Look(progress).position, 70000, "the extraction stands after the first file");

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
        attempt.act(progress);
        if (attempt.refused) {
            HWND box = nullptr;
            Require(WaitUntil([&] {
                        for (HWND b : MessageBoxes(run)) {
                            if (b != worker)
                                box = b;
                        }
                        return box != nullptr;
                    }),
                    "the close refusal appears");
            CheckEqual(MessageBoxText(box), kCloseRefusal, "the close refusal: text");
            CheckEqual(WindowText(box), run.AppName(), "the close refusal: caption");
            CheckButtons(box, Buttons::kOk);
            if (!shot) {
                Screenshot("close-refusal");
                shot = true;
            }
            Answer(box, IDOK);
        } else {
            Check(WaitPostedHandled(Item(progress, IDC_PROGRESS)), "the page has handled the key");
            CheckEqual(static_cast<long long>(MessageBoxes(run).size()), 1, "no new message");
        }
        Check(::IsWindow(progress) && ::IsWindow(worker), "the progress page stays");
    }
    Step("the worker's message answered");
    Answer(worker, IDOK);
    Check(WaitGone(progress), "the progress page closes once the worker is done");
    HWND finish = ExpectFailureView(run);
    EndWizard(run, finish);
}

// The package ends inside the last file: the format message while the page
// still shows that file, the partial file and the log naming it last.
void InstallTruncated() {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    const std::string whole = PackageBytes({{"ravik.exe", "app"},
                                            {"uninstall.exe", "un"},
                                            {"data\\last.bin", std::string(100000, 'L')}});
    // The last 1000 bytes of data.bin are missing.
    const std::string package = WritePackage(whole.substr(0, whole.size() - 1000));
    Installer run(WithPackage(package));
    run.Start();
    HWND progress = WalkToProgress(run, dir);
    HWND box = ExpectMessage(run, kFormatMessage, Buttons::kOk, "the format message");
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

// A file of an earlier installation held open by another program: the
// create-file message while the page shows that file, the held file
// untouched, nothing written after it, the log naming it last, no shortcuts,
// the record written and the failure view.
void InstallHeldFile() {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    const std::string earlier = "the earlier installation's library";
    const std::string package = WritePackage(PackageBytes({{"ravik.exe", "app"},
                                                           {"data\\held.dll", "new library"},
                                                           {"data\\after.txt", "after"},
                                                           {"z.txt", "z"}}));
    FileHold held(EarlierFile(dir + "data\\held.dll", earlier));
    Installer run(WithPackage(package));
    run.Start();
    HWND progress = WalkToProgress(run, dir);
    HWND box = ExpectMessage(run, kCreateFileMessage, Buttons::kOk, "the create-file message");
    CheckEqual(WindowText(box), run.AppName(), "the create-file message: caption");
    CheckEqual(Look(progress).status, dir + "data\\held.dll",
               "the status line names the held file");
    Screenshot("create-file-message");
    Answer(box, IDOK);
    HWND finish = ExpectFailureView(run);
    CheckRecord(dir);
    EndWizard(run, finish);
    held.Release();

    CheckEqual(ReadWholeFile(dir + "data\\held.dll"), earlier, "the held file is untouched");
    CheckEqual(ReadWholeFile(dir + "ravik.exe"), "app", "the file before it is installed");
    Check(!FileExists(dir + "data\\after.txt") && !FileExists(dir + "z.txt"),
          "nothing after the held file is written");
    CheckEqual(ReadWholeFile(dir + "install.log"), "[FILE] ravik.exe\r\n[FILE] data\\held.dll\r\n",
               "install.log names the held file last");
    CheckNoShortcuts();
}

// A folder link that another user planted in the install directory before the
// installation (C:\QJ\data, leading into another folder): the file below it
// is refused with the create-file message, nothing is written through the
// link, the failure shows on the finish page.
void InstallPlantedLink() {
    const std::string dir = "C:\\QJ\\";
    const std::string victim = "C:\\qz-victim\\";
    Require(CreateDirectoryA(victim.c_str(), nullptr) && CreateDirectoryA(dir.c_str(), nullptr),
            "the folders are made");
    Require(qz::test::PlantFolderLink(dir + "data", victim), "the link C:\\QJ\\data is planted");
    Installer run(WithPackage(WritePackage(
        PackageBytes({{"ravik.exe", "app"}, {"data\\x.txt", "x"}, {"uninstall.exe", "un"}}))));
    run.Start();
    HWND progress = WalkToProgress(run, dir);
    HWND box = ExpectMessage(run, kCreateFileMessage, Buttons::kOk, "the create-file message");
    CheckEqual(Look(progress).status, dir + "data\\x.txt", "the status line names the file");
    Screenshot("create-file-message");
    Answer(box, IDOK);
    HWND finish = ExpectFailureView(run);
    EndWizard(run, finish);
    CheckEqual(static_cast<long long>(ListTree(victim).size()), 0,
               "nothing is written through the link");
    CheckEqual(ReadWholeFile(dir + "ravik.exe"), "app", "the file before it is installed");
    Check(!FileExists(dir + "uninstall.exe"), "nothing after it is written");
    CheckNoShortcuts();
}

// The bytes of a file of `size` bytes that a full disk cuts short: a
// pattern in which every 30720-byte piece differs from the last.
std::string Filler(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 13 + i / 30720) & 0xFF);
    return bytes;
}

// A disk that fills up: drive Q: is a small tmpfs that scripts/wine-run
// mounts for this run (QZ_WINE_TMPFS) and the package is bigger than it. The
// write that finds the disk full gives the create-file message; the files
// before it stay, the cut file holds what fitted, nothing after it is
// written, the log names it last, no shortcuts, the record written.
void InstallDiskFull() {
    const std::string failed = Env("QZ_WINE_TMPFS_FAILED");
    if (!failed.empty())
        Skip(failed);
    if (Env("QZ_WINE_TMPFS").empty() || !DirExists("Q:\\"))
        Skip("no small disk as drive Q: (scripts/wine-run makes one when QZ_WINE_TMPFS is set)");
    const std::string dir = "Q:\\Qorvane\\";
    const std::string first = Filler(100000);
    const std::string big = Filler(4000000);
    ULARGE_INTEGER total{};
    Require(::GetDiskFreeSpaceExA("Q:\\", nullptr, &total, nullptr) != FALSE,
            "drive Q: reports its size");
    Require(total.QuadPart < big.size(), Format("drive Q: (%llu bytes) is smaller than the package",
                                                static_cast<unsigned long long>(total.QuadPart)));
    const std::string package = WritePackage(PackageBytes(
        {{"ravik.exe", "app"}, {"first.bin", first}, {"big.bin", big}, {"z.txt", "z"}}));
    Installer run(WithPackage(package));
    run.Start();
    HWND progress = WalkToProgress(run, dir);
    HWND box = ExpectMessage(run, kCreateFileMessage, Buttons::kOk, "the create-file message");
    CheckEqual(WindowText(box), run.AppName(), "the create-file message: caption");
    CheckEqual(Look(progress).status, dir + "big.bin", "the status line names the file cut short");
    Screenshot("disk-full");
    Answer(box, IDOK);
    HWND finish = ExpectFailureView(run);
    CheckRecord(dir);
    EndWizard(run, finish);

    CheckEqual(ReadWholeFile(dir + "ravik.exe"), "app", "the first file stays");
    Check(ReadWholeFile(dir + "first.bin") == first, "the second file stays whole");
    bool ok = false;
    const std::string cut = ReadWholeFile(dir + "big.bin", &ok);
    Check(ok, "the file cut short stays");
    Check(cut.size() < big.size() && big.compare(0, cut.size(), cut) == 0,
          Format("it holds the start of its bytes (%u of %u)", static_cast<unsigned>(cut.size()),
                 static_cast<unsigned>(big.size())));
    Check(!FileExists(dir + "z.txt"), "nothing after it is written");
    CheckEqual(ReadWholeFile(dir + "install.log"),
               "[FILE] ravik.exe\r\n[FILE] first.bin\r\n[FILE] big.bin\r\n",
               "install.log names the file cut short last");
    CheckNoShortcuts();
}

struct RejectedPackage {
    const char* what;
    bool present;        // false: no data.dat at all
    std::string bytes;   // the package
    const char* escape;  // a path that a package escaping the directory would write
};

// Each package is refused with the format message before anything is written,
// by `program` (empty: the build under test).
void RunRejected(const std::vector<RejectedPackage>& packages, const std::string& program = {}) {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    bool shot = false;
    for (const RejectedPackage& p : packages) {
        Step(p.what);
        SetupOptions options;
        options.program = program;
        if (p.present)
            options.package = WritePackage(p.bytes);
        Installer run(options);
        run.Start();
        WalkToProgress(run, dir);
        HWND box = ExpectMessage(run, kFormatMessage, Buttons::kOk, "the format message");
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
        {"version 2", true, HeaderBytes(2, 'Q', 'Z', 0), nullptr},
        // nVersion 1, the magic letters swapped ("ZQ").
        {"magic swapped", true, HeaderBytes(1, 'Z', 'Q', 0), nullptr},
        // 01 00 00 00 'Q': the file ends before the second magic letter,
        // which then counts as zero.
        {"five bytes", true, std::string("\x01\x00\x00\x00Q", 5), nullptr},
    });
}

void InstallHostileDirectory() {
    const std::string header1 = HeaderBytes(1, 'Q', 'Z', 1);
    // Names Windows cannot create, each behind a good first entry that would
    // be written first if the check came late: two records, first.txt (3
    // bytes), then the refused name (1 byte), then the data "abc" and "x".
    const auto second = [](const std::string& name) {
        return HeaderBytes(1, 'Q', 'Z', 2) + EntryBytes(3, "first.txt") + EntryBytes(1, name) +
               "abc" + "x";
    };
    // A pair the other way round: a file inside a folder (1 byte, "x"), then
    // a file named like that folder (3 bytes, "abc").
    const auto folder_first = [](const std::string& inside, const std::string& file) {
        return HeaderBytes(1, 'Q', 'Z', 2) + EntryBytes(1, inside) + EntryBytes(3, file) + "x" +
               "abc";
    };
    RunRejected({
        // One entry of 3 bytes named ..\escape.txt, then its data "abc".
        {"a parent-directory name", true, header1 + EntryBytes(3, "..\\escape.txt") + "abc",
         "C:\\qz-install\\escape.txt"},
        // One entry of 3 bytes named with a drive: C:\escape.txt.
        {"a drive in the name", true, header1 + EntryBytes(3, "C:\\escape.txt") + "abc",
         "C:\\escape.txt"},
        // One entry of 3 bytes named \escape.txt (from the drive root).
        {"a leading backslash", true, header1 + EntryBytes(3, "\\escape.txt") + "abc",
         "C:\\escape.txt"},
        // The header promises 2 records; the file ends after the first.
        {"a directory that ends early", true, HeaderBytes(1, 'Q', 'Z', 2) + EntryBytes(0, "a.txt"),
         nullptr},
        // The name field holds 260 x 'a' and no NUL.
        {"a name without its NUL", true, header1 + EntryBytes(0, std::string(260, 'a')), nullptr},
        {"a level holding <", true, second("a<b.txt"), nullptr},
        {"a level holding >", true, second("sub\\a>b.txt"), nullptr},
        {"a level holding \"", true, second("say\"hi\".txt"), nullptr},
        {"a level holding |", true, second("a|b\\c.txt"), nullptr},
        {"a level holding ?", true, second("what?.txt"), nullptr},
        {"a level holding *", true, second("*.txt"), nullptr},
        // 61 A6 7C 2E 74 78 74: A6 7C is no character of GBK, though the
        // installer's code page reads 7C as its trail byte, not as |.
        {"a pair GBK does not define", true, second("a\xa6\x7c.txt"), nullptr},
        // 256 letters: one character more than a level may hold.
        {"a level of 256 characters", true, second(std::string(256, 'a')), nullptr},
        {"install.log at the top", true, second("install.log"), nullptr},
        {"INSTALL.LOG at the top", true, second("INSTALL.LOG"), nullptr},
        // first.txt, then first.txt\x.txt: a file where a folder must be.
        {"a file, then a folder of its name", true, second("first.txt\\x.txt"), nullptr},
        // DATA\x.txt, then data: the other order, in other letters.
        {"a folder, then a file of its name", true, folder_first("DATA\\x.txt", "data"), nullptr},
        // install.log\x.txt: a folder named like the log, which the installer
        // makes first, as a file.
        {"a folder named like install.log", true, second("install.log\\x.txt"), nullptr},
        // A3 E1 5C 78 2E 74 78 74 (ａ\x.txt), then A3 C1 (Ａ): full-width
        // letters are one name in either case.
        {"full-width letters in two cases", true, folder_first("\xa3\xe1\\x.txt", "\xa3\xc1"),
         nullptr},
        // A7 D8 5C 78 ... (ж\x.txt), then A7 A8 (Ж): Cyrillic letters too.
        {"Cyrillic letters in two cases", true, folder_first("\xa7\xd8\\x.txt", "\xa7\xa8"),
         nullptr},
    });
}

// A package whose longest path does not fit below the chosen directory: the
// installer refuses it with the create-file message before it writes
// anything, in the wizard and unattended (exit 3); one byte less directory
// and the same package installs.
void InstallPathTooLong() {
    const std::string dir = "C:\\qz-install\\Qorvane\\";  // 22 bytes
    // sub\ and 234 letters: 238 bytes, 260 below dir, one more than a path holds.
    const std::string longName = "sub\\" + std::string(234, 'n');
    const std::string package =
        WritePackage(PackageBytes({{"first.txt", "abc"}, {longName, "long"}}));
    Installer run(WithPackage(package));
    run.Start();
    WalkToProgress(run, dir);
    HWND box = ExpectMessage(run, kCreateFileMessage, Buttons::kOk, "the create-file message");
    Screenshot("too-long");
    Answer(box, IDOK);
    HWND finish = ExpectFailureView(run);
    EndWizard(run, finish);
    Check(!DirExists(dir), "no install directory: nothing was written");
    CheckNoShortcuts();

    Step("the same package unattended, into the same directory");
    run.Start("/S /D=" + dir);
    Require(run.WaitExit(60000), "the unattended installation ends");
    CheckEqual(run.process().ExitCode(), 3, "exit 3: a file could not be created");
    Check(!DirExists(dir), "still no install directory");

    // C:\qz-install\Qorvan\ (21 bytes): every path holds at most 259 bytes.
    const std::string shorter = "C:\\qz-install\\Qorvan\\";
    Step("unattended into " + shorter + ", one byte shorter");
    run.Start("/S /D=" + shorter);
    Require(run.WaitExit(60000), "the unattended installation ends");
    CheckEqual(run.process().ExitCode(), 0, "it installs");
    CheckEqual(ReadWholeFile(shorter + longName), "long", "the longest path is written");
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
    // With nothing to copy the page may close before the robot gets a look at
    // it; whenever it got one, the range was 0 .. 0 by then.
    if (end.upper == -1)
        Step("the page closed before its bar could be read");
    else
        CheckEqual(end.upper, 0, "the progress range is 0 .. 0");
    HWND finish = ExpectFinish(run, kSuccessHeadline);
    bool ok = false;
    CheckEqual(ReadWholeFile(dir + "install.log", &ok), "", "install.log is empty");
    Check(ok, "install.log exists");
    CheckShortcutsFor(dir);
    EndWizard(run, finish);
}

// The texts of `window` as WideTexts reads them, against `expected` (a list of
// expected_texts.h) whose nulls stand, in order, for the texts of `runTime`.
template <size_t N>
void CheckWideTexts(HWND window, const wchar_t* const (&expected)[N],
                    const std::vector<std::wstring>& runTime, const std::string& what) {
    std::wstring want;
    size_t next = 0;
    for (const wchar_t* text : expected) {
        want += text != nullptr ? std::wstring(text)
                                : (next < runTime.size() ? runTime[next++] : std::wstring());
        want += L" | ";
    }
    std::wstring got;
    for (const std::wstring& text : WideTexts(window))
        got += text + L" | ";
    CheckEqual(got, want, what + ": every text, read wide");
}

// A message box of the program under the Western code page: its text and its
// caption read wide.
HWND ExpectWideMessage(Installer& run, const std::wstring& text, Buttons buttons,
                       const std::string& what) {
    HWND box = run.WaitMessage(buttons);
    Require(box != nullptr, what + " appears");
    CheckEqual(WideMessageBoxText(box), text, what + ": text, read wide");
    CheckEqual(WideWindowText(box), L"Install", what + ": caption, read wide");
    return box;
}

// The licence as the program's text means it: GBK read in code page 936.
std::wstring LicenceText() {
    const std::string gbk = qz::kLicenseText;
    std::wstring wide(gbk.size(), L'\0');
    const int n = ::MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), &wide[0],
                                        static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return wide;
}

// Under the Western code page 1252 (this scenario runs with the locale
// fr_FR.UTF-8, so Install.exe and the robot alike have ANSI code page 1252):
// a setup folder and an install directory with accented letters right before
// a backslash. Each such letter is a GBK lead byte, and read as GBK it would
// swallow the backslash after it. Every page and message box reads, through
// the wide functions, as it does on a Chinese system: the fixed texts as their
// GBK means them, the paths as the user typed them.
void InstallWesternCodePage() {
    Require(::GetACP() == 1252, Format("the ANSI code page is 1252 (it is %u)", ::GetACP()));
    // The robot's literals are GBK, so the 1252 names are written byte by byte.
    // Installé: 49 6E 73 74 61 6C 6C E9 (é); the setup folder's backslash follows.
    const std::string setupFolder = "Install\xe9";
    // C:\Logiciels à\Société: ... 20 E0 (à) 5C ... 53 6F 63 69 E9 (é) 74 E9 (é);
    // typed without a final separator, so the page appends one after an é.
    const std::string parent = "C:\\Logiciels \xe0\\";
    const std::string typed = parent + "Soci\xe9t\xe9";
    const std::string dir = typed + "\\";
    const std::wstring parentWide = L"C:\\Logiciels \u00e0\\";
    const std::wstring dirWide = parentWide + L"Soci\u00e9t\u00e9\\";
    const std::vector<TestFile> files = {
        {"ravik.exe", "app"},
        {"uninstall.exe", "uninstaller"},
        {"data\\pendrel.exe", "pendrel"},
        // 文档\a.txt: CE C4 B5 B5 5C 61 ...; a GBK name, four characters in 1252.
        {"文档\\a.txt", "GBK name\r\n"},
    };
    std::vector<std::string> names;
    for (const TestFile& file : files)
        names.push_back(file.name);

    const std::string package = WritePackage(PackageBytes(files));
    SetupOptions options = WithPackage(package);
    options.setupFolder = setupFolder;
    // 3F 3F 20 51 ...: read as ANSI text, a caption's 安 and 装 have no form
    // in 1252.
    options.pageCaption = "?? Qorvane";
    Installer run(options);
    // A window titled Qorvane: the progress page asks to close it.
    RunningCopy copy(run.WorkDir());
    run.Start();
    HWND host = run.WaitHost();
    Require(host != nullptr, "the host dialog appears");
    CheckWideTexts(host, kHostTexts, {}, "the host");
    SystemCommand(host, IDM_ABOUTBOX);
    // 关于 Install, read as ANSI text.
    HWND about = WaitDialog(run.Pid(), "?? Install", IDOK);
    Require(about != nullptr, "the About box opens");
    CheckWideTexts(about, kAboutTexts, {}, "the About box");
    Click(about, IDOK);
    Check(WaitGone(about), "the About box closes");
    HWND licence = PressInstallOnHost(run, host);
    Screenshot("licence");
    const std::wstring licenceText = LicenceText();
    CheckWideTexts(licence, kLicencePageTexts, {licenceText}, "the licence page");
    CheckEqual(licenceText.substr(0, std::wstring(kLicenceFirstLineWide).size()),
               kLicenceFirstLineWide, "the licence's first line");
    HWND page = AgreeAndGoOn(run, licence);
    CheckWideTexts(page, kPathPageTexts, {kDefaultInstallDirWide}, "the directory page");

    Step("press Browse");
    Click(page, IDC_BROWSE);
    HWND browser = WaitBrowser(run.Pid());
    Require(browser != nullptr, "the folder browser opens");
    bool titled = false;
    for (HWND child = ::GetWindow(browser, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT))
        titled = titled || WideWindowText(child) == kBrowseTitleWide;
    Check(titled, "the folder browser shows the page's title, read wide");
    Screenshot("browser");
    Click(browser, IDCANCEL);
    Check(WaitGone(browser), "the folder browser closes");

    Step("a directory the page refuses");
    TypeText(page, IDC_INSTALL_PATH, "x");
    Click(page, IDOK);
    HWND refusal = ExpectWideMessage(run, kInvalidPathTextWide, Buttons::kOk, "the refusal");
    Screenshot("refusal");
    Answer(refusal, IDOK);

    Step("type the install directory " + Printable(typed));
    TypeText(page, IDC_INSTALL_PATH, typed);
    Click(page, IDOK);
    HWND confirm = ExpectWideMessage(run, std::wstring(kConfirmPrefixWide) + dirWide,
                                     Buttons::kYesNo, "the confirmation");
    Screenshot("confirm");
    // Read as ANSI text, the path comes back in the bytes it was typed in.
    const std::string narrow = MessageBoxText(confirm);
    CheckEqual(narrow.substr(narrow.size() < dir.size() ? 0 : narrow.size() - dir.size()), dir,
               "the confirmation: one separator appended after the final é");
    Click(confirm, IDYES);
    HWND progress = run.WaitProgress();
    Require(progress != nullptr, "the progress page opens");
    HWND question = ExpectWideMessage(run, kRunningCopyQuestionWide, Buttons::kOkCancel,
                                      "the running-copy question");
    CheckWideTexts(progress, kProgressPageTexts, {L"正在安装"}, "the progress page, waiting");
    copy.Close();
    Answer(question, IDOK);

    HWND finish = nullptr;
    HWND box = nullptr;
    Require(WaitUntil(
                [&] {
                    return (finish = run.WaitFinish(0)) || (box = run.WaitMessage(Buttons::kOk, 0));
                },
                60000),
            "the installation ends");
    if (box != nullptr) {
        CheckEqual(WideMessageBoxText(box), L"", "no message during the installation");
        Answer(box, IDOK);
        finish = run.WaitFinish();
        Require(finish != nullptr, "the finish page opens");
    }
    Screenshot("finish");
    CheckWideTexts(finish, kFinishPageTexts, {kSuccessHeadlineWide}, "the finish page");
    HWND runApp = Item(finish, IDC_RUN_APP);
    Check(IsShown(runApp) && CheckState(runApp) == BST_CHECKED,
          "the finish page offers to start the application, ticked");
    EndWizard(run, finish);

    std::map<std::string, std::string> payload;
    for (const TestFile& file : files)
        payload[file.name] = file.data;
    CheckInstalledFiles(dir, payload);
    CheckEqual(ReadWholeFile(dir + "install.log"), LogFor(names), "install.log");
    // Société\ and below it the four files, data\, 文档\ and install.log: a
    // scan that took an é for a lead byte would have made other levels.
    CheckEqual(static_cast<long long>(ListTree(parent).size()), 8,
               "C:\\Logiciels \\xe0\\ holds only the installation");
    const RegValue path = ReadMachineValue(kProductKey, "path");
    CheckEqual(path.bytes, dir + '\0', "the registry value \"path\" holds the install directory");
    CheckShortcutsFor(dir);
    std::int64_t total = 0;
    for (const TestFile& file : files)
        total += static_cast<std::int64_t>(file.data.size());
    CheckUninstallEntry(dirWide, total);

    // The unattended mode under the same code page: C:\Logiciels à\Autré,
    // ... 41 75 74 72 E9 (é) last, gets its separator after the é too.
    const std::string unattended = parent + "Autr\xe9";
    Step("the same setup folder, unattended, into " + Printable(unattended));
    run.Start("/S /D=" + unattended);
    Require(run.WaitExit(60000), "the unattended installation ends");
    CheckEqual(run.process().ExitCode(), 0, "the unattended installation succeeds");
    CheckInstalledFiles(unattended + "\\", payload);
    CheckEqual(ReadMachineValue(kProductKey, "path").bytes, unattended + "\\" + '\0',
               "the unattended installation records its directory");
    CheckShortcutsFor(unattended + "\\");

    // Packages refused before anything is written, judged in 1252 as this
    // installer opens their names.
    struct Refused {
        const char* what;
        std::vector<TestFile> files;
    };
    const Refused refusedPackages[] = {
        // 61 81 5C 43 4F 4D 31: in GBK a, 乗 and COM1, one level; in 1252 the
        // folder a\x81 and the device COM1.
        {"a last level COM1 behind 81", {{"ravik.exe", "app"}, {"a\x81\\COM1", "device"}}},
        // E9 (é) a file, then C9 5C 78 (É\x) needing it as a folder: one name
        // in 1252, though neither is a name in GBK.
        {"e acute, then E acute as a folder", {{"\xe9", "file"}, {"\xc9\\x", "inside"}}},
        // 43 4F 4D B9: COM and a superscript one, which Windows takes for COM1.
        {"COM with a superscript one", {{"ravik.exe", "app"}, {"COM\xb9", "device"}}},
    };
    // qzpack.exe extract on this system installs as the installer does: the
    // folder named in 1252 as the installer opens it, the names judged and
    // split in 1252.
    const std::string qzpack = RequiredPathEnv("QZ_QZPACK_EXE");
    const auto extract = [&qzpack](const std::string& from, const std::string& folder) {
        Step("qzpack.exe extract into " + Printable(folder));
        const std::string log = from + ".extract.log";
        const int code =
            RunToEnd(qzpack, "extract \"" + from + "\" \"" + folder + "\"", "", 120000, log);
        std::printf("%s\n", Printable(ReadWholeFile(log)).c_str());
        return code;
    };
    const std::string extracted = parent + "Extrait\xe9";  // Extraité
    CheckEqual(extract(package, extracted), 0, "qzpack.exe extract succeeds");
    CheckInstalledFiles(extracted + "\\", payload);
    CheckEqual(ReadWholeFile(extracted + "\\install.log"), LogFor(names),
               "qzpack.exe extract's install.log");

    for (const Refused& p : refusedPackages) {
        const std::string refused = parent + "Refus";
        Step(std::string("unattended, refused in 1252: ") + p.what);
        const std::string refusedPackage = WritePackage(PackageBytes(p.files));
        Installer other(WithPackage(refusedPackage));
        other.Start("/S /D=" + refused);
        Require(other.WaitExit(60000), "the unattended installation ends");
        CheckEqual(other.process().ExitCode(), 2, "exit 2: the package is refused");
        Check(!DirExists(refused + "\\"), "nothing written");
        const std::string target = parent + "Refus qzpack";
        CheckEqual(extract(refusedPackage, target), 1, "qzpack.exe extract refuses it too");
        CheckEqual(static_cast<long long>(ListTree(target).size()), 0,
                   "qzpack.exe extract writes nothing");
    }

    // A damaged package into C:\Logiciels à\Raté: the status line joins the
    // typed directory (1252) and the package's name 文档\b.bin (GBK).
    Step("a damaged package");
    const std::string whole = PackageBytes({{"ravik.exe", "app"}, {"文档\\b.bin", "0123456789"}});
    SetupOptions damaged = WithPackage(WritePackage(whole.substr(0, whole.size() - 4)));
    damaged.setupFolder = setupFolder;
    damaged.pageCaption = options.pageCaption;
    Installer failing(damaged);
    HWND failingPage = StartToPathPage(failing);
    TypeText(failingPage, IDC_INSTALL_PATH, parent + "Rat\xe9");
    Click(failingPage, IDOK);
    Click(ExpectWideMessage(failing, std::wstring(kConfirmPrefixWide) + parentWide + L"Rat\u00e9\\",
                            Buttons::kYesNo, "the confirmation"),
          IDYES);
    HWND failingProgress = failing.WaitProgress();
    Require(failingProgress != nullptr, "the progress page opens");
    HWND format =
        ExpectWideMessage(failing, kFormatMessageWide, Buttons::kOk, "the format message");
    Screenshot("format-message");
    CheckWideTexts(failingProgress, kProgressPageTexts, {parentWide + L"Rat\u00e9\\文档\\b.bin"},
                   "the progress page, failed");
    Answer(format, IDOK);
    HWND failedFinish = failing.WaitFinish();
    Require(failedFinish != nullptr, "the finish page opens");
    Screenshot("failed-finish");
    CheckWideTexts(failedFinish, kFinishPageTexts, {kFailedHeadlineWide},
                   "the finish page, failed");
    EndWizard(failing, failedFinish);
}

// Started the way a shortcut may start it, in a current directory of its own
// that holds another data.dat: the installer reads the package beside itself
// and writes nothing into the current directory.
void InstallFromOtherDirectory() {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    const std::string elsewhere = "C:\\qz-e2e\\" + CurrentScenario() + "-elsewhere\\";
    RemoveTree(elsewhere);
    Require(MakeDirs(elsewhere), "the other current directory can be made");
    // A valid package of one file decoy.txt: what opening data.dat in the
    // current directory would install.
    Require(WriteWholeFile(elsewhere + "data.dat", PackageBytes({{"decoy.txt", "decoy"}})),
            "the other data.dat is written");
    SetupOptions options =
        WithPackage(WritePackage(PackageBytes({{"ravik.exe", "app"}, {"uninstall.exe", "un"}})));
    options.startDir = elsewhere;
    Installer run(options);
    run.Start();
    WalkToProgress(run, dir);
    HWND finish = ExpectFinish(run, kSuccessHeadline);
    EndWizard(run, finish);
    CheckEqual(ReadWholeFile(dir + "ravik.exe"), "app", "the setup folder's package is installed");
    CheckEqual(ReadWholeFile(dir + "install.log"), "[FILE] ravik.exe\r\n[FILE] uninstall.exe\r\n",
               "install.log");
    Check(!FileExists(dir + "decoy.txt"), "nothing of the other package is installed");
    CheckEqual(static_cast<long long>(ListTree(elsewhere).size()), 1,
               "the current directory keeps only its data.dat");
    CheckShortcutsFor(dir);
}

// `program`, pinned to `package`, installs it through the wizard as an unpinned
// program does (the payload folder `payload` byte for byte, when it is given),
// then refuses every package but its own as it refuses a bad header: the
// format message, nothing written, the failure on the finish page.
void RunPinned(const std::string& program, const std::string& package, const std::string& payload) {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    {
        SetupOptions options = WithPackage(package);
        options.program = program;
        Installer run(options);
        run.Start();
        WalkToProgress(run, dir);
        HWND finish = ExpectFinish(run, kSuccessHeadline);
        EndWizard(run, finish);
        Check(FileExists(dir + "ravik.exe") && FileExists(dir + "install.log"),
              "the pinned package is installed");
        for (const auto& file :
             payload.empty() ? std::map<std::string, std::int64_t>() : ListTree(payload)) {
            if (file.second >= 0)
                Check(ReadWholeFile(dir + file.first) ==
                          ReadWholeFile(WithSlash(payload) + file.first),
                      "installed byte for byte: " + Printable(file.first));
        }
        CheckShortcutsFor(dir);
    }
    RemoveTree(dir);
    ::DeleteFileA(DesktopLink().c_str());
    RemoveTree(ProgramsFolder() + "\\Qorvane\\");
    std::vector<RejectedPackage> packages;
    for (const PackageVariant& variant : NotThePinnedPackage(ReadWholeFile(package)))
        packages.push_back({variant.what, true, variant.bytes, nullptr});
    RunRejected(packages, program);
}

// The pinned program's data.dat served by a source that does not replay its
// bytes (a preloaded shim flips its last byte): changed from the first read
// on, it is refused as a bad header is; changed only on a read after the
// first pass, what lands is the pinned payload byte for byte and nothing else.
void RunChangingSource(const std::string& program, const std::string& package,
                       const std::string& payload) {
    const std::string dir = "C:\\qz-install\\Qorvane\\";
    for (const SourceChange change :
         {SourceChange::kFromFirstRead, SourceChange::kAfterFirstPass}) {
        const bool fromFirstRead = change == SourceChange::kFromFirstRead;
        Step(fromFirstRead ? "a source changed from the first read"
                           : "a source changed after the first pass");
        SetupOptions options = WithPackage(package);
        options.program = program;
        Installer run(options);
        MakeChangingSource(run.SetupDir() + "data.dat", change);
        run.Start();
        WalkToProgress(run, dir);
        if (fromFirstRead) {
            HWND box = ExpectMessage(run, kFormatMessage, Buttons::kOk, "the format message");
            Answer(box, IDOK);
            HWND finish = ExpectFinish(run, kFailedHeadline);
            Check(!DirExists(dir), "no install directory");
            CheckNoShortcuts();
            EndWizard(run, finish);
            continue;
        }
        HWND finish = ExpectFinish(run, kSuccessHeadline);
        EndWizard(run, finish);
        const std::map<std::string, std::int64_t> expected = ListTree(payload);
        const std::map<std::string, std::int64_t> installed = ListTree(dir);
        for (const auto& file : expected) {
            if (file.second >= 0)
                Check(ReadWholeFile(dir + file.first) ==
                          ReadWholeFile(WithSlash(payload) + file.first),
                      "the pinned bytes: " + Printable(file.first));
        }
        // The payload's files and folders, and install.log.
        CheckEqual(static_cast<long long>(installed.size()),
                   static_cast<long long>(expected.size() + 1), "nothing else is installed");
        RemoveTree(dir);
        ::DeleteFileA(DesktopLink().c_str());
        RemoveTree(ProgramsFolder() + "\\Qorvane\\");
    }
}

// A program pinned to the demo package.
void InstallPinned() {
    RunPinned(PinnedProgram(), PinnedPackage(), DemoPayloadDir());
    RunChangingSource(PinnedProgram(), PinnedPackage(), DemoPayloadDir());
}

// The release that scripts/release signed (tests/release/release_test.sh),
// with the data.dat shipped with it, then with that data.dat altered or
// swapped.
void InstallSignedRelease() {
    RunPinned(RequiredPathEnv("QZ_SIGNED_INSTALL_EXE"), RequiredPathEnv("QZ_SIGNED_PACKAGE"), "");
}

const Scenario full("install_full", &InstallFull);
const Scenario runningWaits("install_running_copy_waits", &InstallRunningCopyWaits);
const Scenario runningCancel("install_running_copy_cancel", &InstallRunningCopyCancel);
const Scenario closeRefused("install_close_refused", &InstallCloseRefused);
const Scenario truncated("install_truncated", &InstallTruncated);
const Scenario badHeaderBytes("install_bad_header", &InstallBadHeader);
const Scenario hostile("install_hostile_directory", &InstallHostileDirectory);
const Scenario tooLong("install_path_too_long", &InstallPathTooLong);
const Scenario empty("install_empty_package", &InstallEmptyPackage);
const Scenario western("install_western_code_page", &InstallWesternCodePage);
const Scenario otherDirectory("install_from_other_directory", &InstallFromOtherDirectory);
const Scenario heldFile("install_held_file", &InstallHeldFile);
const Scenario diskFull("install_disk_full", &InstallDiskFull);
const Scenario plantedLink("install_planted_link", &InstallPlantedLink);
const Scenario pinned("install_pinned", &InstallPinned);
const Scenario signedRelease("install_signed_release", &InstallSignedRelease);

}  // namespace
