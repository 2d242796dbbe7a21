// The licence page and the install-directory page, as a user meets them: what
// they show, what each control does, and that leaving them writes nothing.
#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "robot/expected_texts.h"
#include "robot/installer.h"
#include "robot/page_walks.h"
#include "robot/process.h"
#include "robot/report.h"
#include "robot/scenario.h"
#include "robot/screenshot.h"
#include "robot/system_state.h"
#include "robot/ui.h"

using namespace robot;

namespace {

// 乗: lead byte 81, trail byte 5C (the backslash's value).
#define JOU \
    "\x81"  \
    "\x5C"

// How a person leaves a page without going on.
enum class Leave { kCancelButton, kEscape, kCloseBox };

const char* LeaveName(Leave how) {
    switch (how) {
        case Leave::kCancelButton:
            return "the cancel button";
        case Leave::kEscape:
            return "Esc";
        case Leave::kCloseBox:
            return "the close box";
    }
    return "?";
}

void LeavePage(HWND page, Leave how) {
    Step(std::string("leave the page with ") + LeaveName(how));
    switch (how) {
        case Leave::kCancelButton:
            Click(page, IDCANCEL);
            break;
        case Leave::kEscape:
            PressKey(page, VK_ESCAPE);
            break;
        case Leave::kCloseBox:
            SystemCommand(page, SC_CLOSE);
            break;
    }
}

// The program ended normally and left no trace anywhere.
void CheckEndedUntouched(Installer& run, const Footprint& before, const std::string& installDir) {
    Require(run.WaitExit(), "the wizard ends and the program exits");
    CheckEqual(run.process().ExitCode(), 0, "exit code");
    CheckUntouched(before, TakeFootprint(run.SetupDir(), installDir));
}

// A message box shows an icon when it has a visible SS_ICON static.
bool ShowsIcon(HWND box) {
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassNameOf(child) == "Static" && (StyleOf(child) & SS_TYPEMASK) == SS_ICON &&
            ::IsWindowVisible(child)) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    lines.push_back(text.substr(start));
    return lines;
}

// The licence text as the edit shows it: the fixed lines in their places, the
// indentation of the indented paragraphs, CR LF line ends and one final CR LF.
void CheckLicenceText(const std::string& text) {
    const std::vector<std::string> lines = SplitCrLf(text);
    // 18 lines, then the empty piece after the final CR LF.
    if (!CheckEqual(static_cast<long long>(lines.size()), 19, "licence lines (CR LF separated)"))
        return;
    CheckEqual(lines[0], "Qorvane 软件最终用户许可协议", "licence title");
    CheckEqual(lines[2], "安装及使用时请仔细阅读以下须知：", "licence lead-in");
    const struct {
        int line;
        const char* text;
    } fixed[] = {
        {1, ""},  {3, ""},         {4, "授权： "}, {7, "限制： "},        {10, "著作权声明： "},
        {12, ""}, {13, "注意： "}, {15, ""},       {16, "生效和终止： "}, {18, ""}};
    for (const auto& f : fixed)
        CheckEqual(lines[f.line], f.text, Format("licence line %d", f.line + 1));
    const struct {
        int line;
        int spaces;
    } indented[] = {{5, 0}, {6, 0}, {8, 0}, {9, 4}, {11, 0}, {14, 3}, {17, 3}};
    for (const auto& in : indented) {
        const std::string& line = lines[in.line];
        const size_t spaces = static_cast<size_t>(in.spaces);
        Check(
            line.size() > spaces && line.find_first_not_of(' ') == spaces,
            Format("licence line %d is a paragraph indented by %d spaces", in.line + 1, in.spaces));
    }
}

// Next is enabled exactly when the agreement box is ticked.
void CheckNextFollowsBox(HWND licence, const std::string& when) {
    const bool ticked = CheckState(Item(licence, IDC_AGREE)) == BST_CHECKED;
    Check(WaitUntil([&] { return IsEnabled(Item(licence, IDOK)) == ticked; }, 3000),
          Format("%s: Next is %s while the box is %s", when.c_str(),
                 ticked ? "enabled" : "disabled", ticked ? "ticked" : "unticked"));
}

void LicenceToggle() {
    Installer run({});
    HWND licence = StartToLicence(run);
    HWND agree = Item(licence, IDC_AGREE);
    HWND edit = Item(licence, IDC_LICENSE_TEXT);

    Step("the page as it opens");
    CheckEqual(CheckState(agree), BST_UNCHECKED, "the agreement box opens unticked");
    Check(!IsEnabled(Item(licence, IDOK)), "Next opens disabled");
    Check(FocusOf(licence) == Item(licence, IDCANCEL), "the focus is on the quit button");
    CheckEqual(WindowText(agree), "同意协议", "agreement box text");
    CheckLicenceText(WindowText(edit));
    Screenshot("licence-opened");

    Step("tick and untick by clicks, Next following every time");
    for (int i = 1; i <= 7; ++i) {
        const int before = CheckState(agree);
        Click(licence, IDC_AGREE);
        Check(WaitUntil([&] { return CheckState(agree) != before; }, 3000),
              Format("click %d toggles the box", i));
        CheckNextFollowsBox(licence, Format("after click %d", i));
    }
    Require(CheckState(agree) == BST_CHECKED, "seven clicks leave the box ticked");
    Screenshot("licence-agreed");

    Step("the space bar on the focused box");
    Check(FocusOf(licence) == agree, "a click gives the box the focus");
    for (int i = 1; i <= 4; ++i) {
        const int before = CheckState(agree);
        PressKey(licence, VK_SPACE);
        Check(WaitUntil([&] { return CheckState(agree) != before; }, 3000),
              Format("space %d toggles the box", i));
        CheckNextFollowsBox(licence, Format("after space %d", i));
    }

    Step("typing into the licence changes nothing else");
    for (int round = 0; round < 2; ++round) {
        const int state = CheckState(agree);
        const bool next = IsEnabled(Item(licence, IDOK));
        const std::string typed = Format("typed by the user, round %d", round + 1);
        TypeText(licence, IDC_LICENSE_TEXT, typed);
        CheckEqual(WindowText(edit), typed, "the licence edit accepts typing");
        CheckEqual(CheckState(agree), state, "the box keeps its state");
        CheckEqual(IsEnabled(Item(licence, IDOK)), next, "Next keeps its state");
        CheckEqual(static_cast<long long>(Dialogs(run.Pid()).size()), 2,
                   "no window opens (host and licence page only)");
        Click(licence, IDC_AGREE);
        // The click is posted: the next round reads the box only once it has
        // taken effect.
        Check(WaitUntil([&] { return CheckState(agree) != state; }, 3000),
              "the click after typing toggles the box");
        CheckNextFollowsBox(licence, "after typing");
    }

    Step("Next with the box ticked goes on");
    Require(CheckState(agree) == BST_CHECKED, "the box is ticked again");
    Click(licence, IDOK);
    Require(run.WaitPathPage() != nullptr, "Next opens the install-directory page");
    Check(WaitGone(licence), "the licence page is gone");
}

// Leaves the licence page with `how`, ticked first when `agree`.
void LicenceLeave(Leave how, bool agree) {
    Installer run({});
    const Footprint before = TakeFootprint(run.SetupDir(), kDefaultInstallDir);
    HWND licence = StartToLicence(run);
    if (agree) {
        Click(licence, IDC_AGREE);
        Require(WaitUntil([&] { return IsEnabled(Item(licence, IDOK)); }),
                "Next is enabled once the box is ticked");
    }
    LeavePage(licence, how);
    CheckEndedUntouched(run, before, kDefaultInstallDir);
}

void LicenceQuitButtonAgreed() {
    LicenceLeave(Leave::kCancelButton, true);
}
void LicenceEscapeAgreed() {
    LicenceLeave(Leave::kEscape, true);
}
void LicenceCloseBoxAgreed() {
    LicenceLeave(Leave::kCloseBox, true);
}
void LicenceCloseBoxNotAgreed() {
    LicenceLeave(Leave::kCloseBox, false);
}

// One run per ProgramFiles value: the proposal, the focus and the hidden space
// figures; each run leaves the page another way and must leave no trace.
void PathDefaults() {
    const std::string tooLong = "C:\\" + std::string(400, 'a');
    const struct {
        const char* what;
        std::string value;  // kUnset: not in the environment
        std::string expected;
        Leave leave;
    } cases[] = {
        {"ProgramFiles set", "C:\\Program Files", kDefaultInstallDir, Leave::kCancelButton},
        {"ProgramFiles unset", kUnset, "C:\\Qorvane\\", Leave::kEscape},
        {"ProgramFiles a drive root", "D:\\", "D:\\Qorvane\\", Leave::kCloseBox},
        // 43 3A 5C 81 5C: ends in 乗, whose trail byte is no separator.
        {"ProgramFiles ending in a trail byte 5C", "C:\\" JOU, "C:\\" JOU "\\Qorvane\\",
         Leave::kCancelButton},
        {"ProgramFiles set but empty", "", "C:\\Qorvane\\", Leave::kEscape},
        {"ProgramFiles longer than the buffer", tooLong, "C:\\Qorvane\\", Leave::kCloseBox},
    };
    int n = 0;
    for (const auto& c : cases) {
        ++n;
        Step(c.what);
        Installer run({"", ProgramFilesEnv(c.value)});
        const Footprint before = TakeFootprint(run.SetupDir(), c.expected);
        HWND page = StartToPathPage(run);
        CheckEqual(WindowText(Item(page, IDC_INSTALL_PATH)), c.expected,
                   std::string("proposal, ") + c.what);
        Check(FocusOf(page) == Item(page, IDOK), "the focus is on the Install button");
        Check(!IsShown(Item(page, IDC_SPACE_INFO)), "the space figures stay hidden");
        if (n == 1)
            Screenshot("path-default");
        LeavePage(page, c.leave);
        CheckEndedUntouched(run, before, c.expected);
    }
}

// Presses Install and returns the message box that answers, offering
// `buttons`.
HWND PressInstall(Installer& run, HWND page, Buttons buttons) {
    Click(page, IDOK);
    HWND box = run.WaitMessage(buttons);
    Require(box != nullptr, "a message box answers Install");
    return box;
}

void PathInvalid() {
    // Another file name: the message boxes are captioned with it.
    Installer run({"", {}, "QorvaneSetup.exe"});
    CheckEqual(run.AppName(), "QorvaneSetup", "the program's base name");
    const Footprint before = TakeFootprint(run.SetupDir(), kDefaultInstallDir);
    HWND page = StartToPathPage(run);
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"the empty text", ""},
        {"a drive alone", "C:"},
        {"a network path", "\\\\server\\share"},
        {"a leading space", " C:\\Apps"},
        {"the colon third", "CC:\\Apps"},
        // 81 5C 3A 5C: 乗 first, so the second byte is 5C, not ':'.
        {"a trail byte 5C second", JOU ":\\"},
    };
    bool first = true;
    for (const auto& c : cases) {
        Step(std::string("Install with ") + c.what);
        TypeText(page, IDC_INSTALL_PATH, c.text);
        HWND box = PressInstall(run, page, Buttons::kOk);
        CheckEqual(WindowText(box), "QorvaneSetup", "message caption");
        CheckEqual(MessageBoxText(box), kInvalidPathText, "message text");
        Check(!IsEnabled(page), "the page waits for the message");
        if (first)
            Screenshot("path-invalid");
        first = false;
        Click(box, IDOK);
        Require(WaitGone(box), "the message closes");
        // Once the page's handler has returned, nothing more will change.
        Check(RoundTrip(page), "the page is back in its message loop");
        Check(IsEnabled(page) && ::IsWindowVisible(page), "the page stays open");
        CheckEqual(WindowText(Item(page, IDC_INSTALL_PATH)), c.text, "the text is kept");
    }
    LeavePage(page, Leave::kCancelButton);
    CheckEndedUntouched(run, before, kDefaultInstallDir);
}

// Every accepted text is offered for confirmation with one backslash at most
// added, the edit keeps it as typed, and No keeps the page.
void PathConfirmation() {
    Installer run({});
    const Footprint before = TakeFootprint(run.SetupDir(), "C:\\Games\\Qorvane\\");
    HWND page = StartToPathPage(run);
    const struct {
        const char* what;
        std::string typed;
        std::string confirmed;
    } cases[] = {
        {"the first byte is not tested", "1:x", "1:x\\"},
        {"drive-relative", "D:Apps", "D:Apps\\"},
        {"a drive root, no product folder", "C:\\", "C:\\"},
        {"a trailing space", "C:\\Games\\Qorvane ", "C:\\Games\\Qorvane \\"},
        // 43 3A 5C 81 5C: ends in 乗, not in a separator.
        {"ending in a trail byte 5C", "C:\\" JOU, "C:\\" JOU "\\"},
        {"a typed folder", "C:\\Games\\Qorvane", "C:\\Games\\Qorvane\\"},
    };
    bool first = true;
    for (const auto& c : cases) {
        Step(std::string("Install with ") + c.what + ", then No");
        TypeText(page, IDC_INSTALL_PATH, c.typed);
        HWND box = PressInstall(run, page, Buttons::kYesNo);
        CheckEqual(WindowText(box), "Install", "confirmation caption");
        CheckEqual(MessageBoxText(box), kConfirmPrefix + c.confirmed, "confirmation text");
        Check(ShowsIcon(box), "the confirmation shows an icon");
        if (first)
            Screenshot("path-confirm");
        first = false;
        Click(box, IDNO);
        Require(WaitGone(box), "the confirmation closes");
        Check(RoundTrip(page), "the page is back in its message loop");
        Check(IsEnabled(page) && ::IsWindowVisible(page), "No keeps the page");
        CheckEqual(WindowText(Item(page, IDC_INSTALL_PATH)), c.typed,
                   "the edit keeps the text as typed");
    }

    Step("a second Install asks again; Yes goes on");
    HWND box = PressInstall(run, page, Buttons::kYesNo);
    CheckEqual(MessageBoxText(box), std::string(kConfirmPrefix) + "C:\\Games\\Qorvane\\",
               "the same question again");
    Click(box, IDYES);
    Require(run.WaitProgress() != nullptr, "Yes opens the progress page");
    Check(WaitGone(page), "the install-directory page is gone");
}

void PathCancelTyped() {
    Installer run({});
    const Footprint before = TakeFootprint(run.SetupDir(), "D:\\Typed\\");
    HWND page = StartToPathPage(run);
    TypeText(page, IDC_INSTALL_PATH, "D:\\Typed");
    HWND box = PressInstall(run, page, Buttons::kYesNo);
    Click(box, IDNO);
    Require(WaitGone(box), "the confirmation closes");
    Require(WaitUntil([&] { return IsEnabled(page); }), "the page is usable again");
    LeavePage(page, Leave::kCancelButton);
    CheckEndedUntouched(run, before, "D:\\Typed\\");
}

// An executable named 安装乗.exe: B0 B2 D7 B0 81 5C 2E 65 78 65. The 5C is the
// trail byte of 乗, not a separator, so the message boxes are captioned with the
// whole file name without its extension, 安装乗.
void PathCaptionTrailByte() {
    SetupOptions options;
    options.exeName = "安装乗.exe";
    Installer run(options);
    CheckEqual(run.AppName(), "安装乗", "the program's base name");
    const Footprint before = TakeFootprint(run.SetupDir(), kDefaultInstallDir);
    HWND page = StartToPathPage(run);
    Step("press Install: the confirmation");
    Click(page, IDOK);
    HWND box = nullptr;
    Require(WaitUntil([&] {
                for (HWND dialog : Dialogs(run.Pid())) {
                    if (::GetDlgItem(dialog, 0xFFFF) != nullptr)
                        box = dialog;
                }
                return box != nullptr;
            }),
            "a message box answers Install");
    CheckEqual(WindowText(box), "安装乗", "the message box's caption");
    CheckEqual(MessageBoxText(box), std::string(kConfirmPrefix) + kDefaultInstallDir,
               "the confirmation text");
    CheckButtons(box, Buttons::kYesNo);
    Screenshot("caption");
    Click(box, IDNO);
    Require(WaitGone(box), "the confirmation closes");
    Require(WaitUntil([&] { return IsEnabled(page); }), "the page is usable again");
    LeavePage(page, Leave::kCancelButton);
    CheckEndedUntouched(run, before, kDefaultInstallDir);
}

const Scenario s1("pages_licence_toggle", &LicenceToggle);
const Scenario s2("pages_licence_quit_agreed", &LicenceQuitButtonAgreed);
const Scenario s3("pages_licence_escape_agreed", &LicenceEscapeAgreed);
const Scenario s4("pages_licence_close_box_agreed", &LicenceCloseBoxAgreed);
const Scenario s5("pages_licence_close_box", &LicenceCloseBoxNotAgreed);
const Scenario s6("pages_path_defaults", &PathDefaults);
const Scenario s7("pages_path_invalid", &PathInvalid);
const Scenario s8("pages_path_confirmation", &PathConfirmation);
const Scenario s9("pages_path_cancel_after_no", &PathCancelTyped);
const Scenario s10("pages_path_caption_trail_byte", &PathCaptionTrailByte);

}  // namespace
