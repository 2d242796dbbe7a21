// The install-directory page's Browse button: the shell's folder browser,
// driven with the keyboard the way a person walks its tree.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "robot/expected_texts.h"
#include "robot/files.h"
#include "robot/folder_browser.h"
#include "robot/installer.h"
#include "robot/page_walks.h"
#include "robot/report.h"
#include "robot/scenario.h"
#include "robot/screenshot.h"
#include "robot/system_state.h"
#include "robot/ui.h"

using namespace robot;

namespace {

const char kBrowseTitle[] = "请选择安装目录";
// 乗: lead byte 81, trail byte 5C (the backslash's value).
const char kJouFolder[] = "\x81\x5C";

HWND TreeOf(HWND browser) {
    return ::FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
}

// The label of the tree's selected item, as the screen shows it. The item
// record lives in the tree's process, so it is written and read there (the
// robot and Install.exe of one build have the same pointer size).
std::string SelectedLabel(HWND tree) {
    const auto item =
        reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (item == nullptr)
        return std::string();
    DWORD pid = 0;
    ::GetWindowThreadProcessId(tree, &pid);
    HANDLE process =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr)
        return std::string();
    constexpr int kTextSize = 520;
    std::string label;
    auto* remote = static_cast<char*>(::VirtualAllocEx(
        process, nullptr, sizeof(TVITEMA) + kTextSize, MEM_COMMIT, PAGE_READWRITE));
    if (remote != nullptr) {
        TVITEMA query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = remote + sizeof(TVITEMA);
        query.cchTextMax = kTextSize - 1;
        char text[kTextSize] = {};
        if (::WriteProcessMemory(process, remote, &query, sizeof(query), nullptr) &&
            ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote)) &&
            ::ReadProcessMemory(process, query.pszText, text, kTextSize - 1, nullptr)) {
            label = text;
        }
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
    return label;
}

// A key press handled by the tree before the call returns (the tree does its
// own arrow keys), so the selection can be read right after.
void TreeKey(HWND tree, UINT vk) {
    const UINT scan = ::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(tree, WM_KEYDOWN, vk, 1 | (scan << 16), SMTO_ABORTIFHUNG, 10000,
                          &ignored);
    ::SendMessageTimeoutA(tree, WM_KEYUP, vk, 1 | (scan << 16) | (1u << 30) | (1u << 31),
                          SMTO_ABORTIFHUNG, 10000, &ignored);
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Walks the tree from its root to the item named by `labels` (each matched at
// the end of an item's label, so "(C:)" finds a drive whatever its volume
// label): Down until the level's item is selected, Right to open it.
void SelectInTree(HWND browser, const std::vector<std::string>& labels) {
    HWND tree = TreeOf(browser);
    Require(tree != nullptr, "the browser shows a folder tree");
    ::PostMessageA(browser, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tree), TRUE);
    Require(WaitUntil([&] { return FocusOf(browser) == tree; }, 5000), "the tree takes the focus");
    TreeKey(tree, VK_HOME);
    for (size_t level = 0; level < labels.size(); ++level) {
        if (level > 0)
            TreeKey(tree, VK_RIGHT);
        for (int step = 0; step < 40 && !EndsWith(SelectedLabel(tree), labels[level]); ++step)
            TreeKey(tree, VK_DOWN);
        Require(EndsWith(SelectedLabel(tree), labels[level]),
                "the tree item \"" + Printable(labels[level]) + "\" is selected (selection: \"" +
                    Printable(SelectedLabel(tree)) + "\")");
    }
}

HWND OpenBrowser(Installer& run, HWND page) {
    Step("press Browse");
    Click(page, IDC_BROWSE);
    HWND browser = WaitBrowser(run.Pid());
    Require(browser != nullptr, "the folder browser opens");
    Check(FindChild(browser, "Static", kBrowseTitle) != nullptr,
          "the browser shows the page's title");
    Check(!IsEnabled(page), "the page waits for the browser");
    return browser;
}

// Browses to `labels` and presses OK; returns the edit's text afterwards.
std::string BrowseTo(Installer& run, HWND page, const std::vector<std::string>& labels) {
    HWND browser = OpenBrowser(run, page);
    SelectInTree(browser, labels);
    Click(browser, IDOK);
    Require(WaitGone(browser), "the browser closes");
    Require(WaitUntil([&] { return IsEnabled(page); }), "the page is usable again");
    Check(RoundTrip(page), "the page is back in its message loop");
    return WindowText(Item(page, IDC_INSTALL_PATH));
}

// Folders on the desktop sit right below the tree's root.
void MakeDesktopFolder(const std::string& name) {
    const std::string path = DesktopFolder() + "\\" + name;
    Require(::CreateDirectoryA(path.c_str(), nullptr) || DirExists(path),
            "the desktop folder " + Printable(name) + " can be made");
}

void BrowseCancelled() {
    Installer run({});
    const Footprint before = TakeFootprint(run.SetupDir(), "D:\\Typed\\");
    HWND page = StartToPathPage(run);
    TypeText(page, IDC_INSTALL_PATH, "D:\\Typed");

    HWND browser = OpenBrowser(run, page);
    Screenshot("browser");
    Step("cancel the browser at once");
    Click(browser, IDCANCEL);
    Require(WaitGone(browser), "the browser closes");
    Check(RoundTrip(page), "the page is back in its message loop");
    CheckEqual(WindowText(Item(page, IDC_INSTALL_PATH)), "D:\\Typed", "the typed text is kept");

    browser = OpenBrowser(run, page);
    Step("select a drive, then cancel");
    SelectInTree(browser, {"我的电脑", "(C:)"});
    PressKey(browser, VK_ESCAPE);
    Require(WaitGone(browser), "Esc closes the browser");
    Check(RoundTrip(page), "the page is back in its message loop");
    CheckEqual(WindowText(Item(page, IDC_INSTALL_PATH)), "D:\\Typed", "the typed text is kept");

    Click(page, IDCANCEL);
    Require(run.WaitExit(), "Cancel ends the program");
    CheckUntouched(before, TakeFootprint(run.SetupDir(), "D:\\Typed\\"));
}

void BrowseFolders() {
    Installer run({});
    MakeDesktopFolder("QzApps");
    MakeDesktopFolder("Qorvane");
    MakeDesktopFolder(kJouFolder);
    const std::string desktop = DesktopFolder() + "\\";
    HWND page = StartToPathPage(run);
    HWND edit = Item(page, IDC_INSTALL_PATH);

    const struct {
        const char* what;
        std::vector<std::string> labels;
        std::string expected;
    } cases[] = {
        {"a folder", {"QzApps"}, desktop + "QzApps\\Qorvane\\"},
        {"a folder named Qorvane", {"Qorvane"}, desktop + "Qorvane\\Qorvane\\"},
        // ...\Desktop\ 81 5C: the folder's name ends in a trail byte 5C.
        {"a folder whose name ends in a trail byte 5C",
         {kJouFolder},
         desktop + kJouFolder + "\\Qorvane\\"},
        {"a drive root", {"我的电脑", "(C:)"}, "C:\\Qorvane\\"},
    };
    for (const auto& c : cases) {
        TypeText(page, IDC_INSTALL_PATH, "D:\\Typed");
        Step(std::string("browse to ") + c.what);
        CheckEqual(BrowseTo(run, page, c.labels), c.expected,
                   std::string("the edit after browsing to ") + c.what);
    }

    Step("items without a file-system path change nothing");
    for (const char* virtualItem : {"我的电脑", "回收站"}) {
        TypeText(page, IDC_INSTALL_PATH, "D:\\Typed");
        CheckEqual(BrowseTo(run, page, {virtualItem}), "D:\\Typed",
                   "the edit after choosing " + Printable(virtualItem));
    }

    Step("a browsed path is confirmed as it stands");
    const std::string browsed = BrowseTo(run, page, {"QzApps"});
    Click(page, IDOK);
    HWND box = run.WaitMessage(Buttons::kYesNo);
    Require(box != nullptr, "the confirmation appears");
    CheckEqual(MessageBoxText(box), kConfirmPrefix + browsed, "confirmation text");
    Click(box, IDNO);
    Require(WaitGone(box), "the confirmation closes");
    Check(RoundTrip(page), "the page is back in its message loop");
    CheckEqual(WindowText(edit), browsed, "No keeps the browsed text");
    Screenshot("browsed");
    Require(WaitUntil([&] { return IsEnabled(page); }), "the page is usable again");
    Click(page, IDCANCEL);
    Require(run.WaitExit(), "Cancel ends the program");
}

const Scenario s1("pages_browse_cancelled", &BrowseCancelled);
const Scenario s2("pages_browse_folders", &BrowseFolders);

}  // namespace
