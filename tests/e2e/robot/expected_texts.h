// The texts a person reads in the program's windows and on disk, as the
// scenarios compare them: messages, headlines, the window title of the
// product, the name of a link, the default directory, and what each page
// shows. Written here as the program must show them: GBK at run time, like
// every narrow literal of the robot, and where a scenario also reads them
// with the wide functions, in UTF-16 (the name ending in Wide).
#pragma once

// A text in both forms from one literal: `name` (GBK) and `name`Wide (UTF-16);
// a narrow literal that follows L"" is wide.
#define ROBOT_TEXT(name, literal)           \
    inline constexpr char name[] = literal; \
    inline constexpr wchar_t name##Wide[] = L"" literal;

namespace robot {

// The progress page's messages.
ROBOT_TEXT(kRunningCopyQuestion,
           "安装程序检测到有老版本的 \"Qorvane\" 正在运行。\r\n"
           "请关闭掉相关的程序和文件夹，以便继续安装。\r\n"
           "\r\n"
           "关闭程序后按确定继续安装，按取消退出安装。")
ROBOT_TEXT(kFormatMessage, "安装文件格式出错,请检查文件是否受损.")
ROBOT_TEXT(kCloseRefusal, "安装过程中不能关闭,请稍候.")
ROBOT_TEXT(kCreateFileMessage, "创建文件出错,请检查磁盘空间是否足够.")
// The finish page's headlines.
ROBOT_TEXT(kSuccessHeadline, "Qorvane 安装完成")
ROBOT_TEXT(kFailedHeadline, "安装失败")
// The directory page: its proposal under the usual ProgramFiles, its refusal,
// the start of its confirmation (the directory follows).
ROBOT_TEXT(kDefaultInstallDir, "C:\\Program Files\\Qorvane\\")
ROBOT_TEXT(kInvalidPathText, "安装路径不正确,请重新选择.")
ROBOT_TEXT(kConfirmPrefix, "请确认安装路径:\n\n")
// The folder browser's title.
inline constexpr wchar_t kBrowseTitleWide[] = L"请选择安装目录";
// The title of the application's window, by which the program finds a
// running copy.
inline constexpr char kAppWindowTitle[] = "Qorvane";
// The uninstaller's question, its running-copy question and its last messages.
ROBOT_TEXT(kUninstallQuestion, "您确定要从计算机中完全移除 Qorvane 及其所有组件吗？")
ROBOT_TEXT(kUninstallRunningCopyQuestion,
           "卸载程序检测到 \"Qorvane\" 正在运行。\r\n"
           "请关闭 Qorvane，以便继续卸载。\r\n"
           "\r\n"
           "关闭程序后按确定继续卸载，按取消退出卸载。")
ROBOT_TEXT(kUninstallDone, "Qorvane 已从您的计算机中移除。")
ROBOT_TEXT(kUninstallLeftStart, "Qorvane 未能完全移除。")
ROBOT_TEXT(kUninstallRestartStart,
           "Qorvane 已从您的计算机中移除。以下文件正在使用中,将在计算机重新启动时删除:")
// The caption of the uninstaller's progress window.
inline constexpr char kUninstallCaption[] = "卸载 Qorvane";
// The uninstall shortcut's file name in the Start menu.
inline constexpr char kUninstallLink[] = "卸载.lnk";
// The shortcuts' descriptions.
ROBOT_TEXT(kAppLinkDescription, "Qorvane")
ROBOT_TEXT(kUninstallLinkDescription, "卸载")

// What each window shows, as WideTexts reads it: the caption, then every
// control that shows a text, in the order of the window's template. A null
// stands for a text the program sets at run time, which the scenario knows.
inline constexpr wchar_t kPageCaptionWide[] = L"安装 Qorvane";
ROBOT_TEXT(kLicenceFirstLine, "Qorvane 软件最终用户许可协议\r\n")
inline constexpr const wchar_t* kHostTexts[] = {kPageCaptionWide, L"安装 Qorvane", L"安装"};
inline constexpr const wchar_t* kAboutTexts[] = {L"关于 Install", L"Install 1.0 版",
                                                 L"版权所有 (C) 2026 塔恩维尔软件", L"确定"};
// Next, Quit, the licence, the agreement box, the headline.
inline constexpr const wchar_t* kLicencePageTexts[] = {
    kPageCaptionWide, L"下一步->(&S)", L"退出安装(&C)",
    nullptr,          L"同意协议",     L"在安装 Qorvane 前，请仔细阅读用户许可协议。"};
// Install, the group box, the directory, Browse, Cancel, the hidden space
// note, the headline.
inline constexpr const wchar_t* kPathPageTexts[] = {kPageCaptionWide,
                                                    L"安装(&S)",
                                                    L"请选择安装目录",
                                                    nullptr,
                                                    L"浏览(&B)...",
                                                    L"取消",
                                                    L"所需空间:20M\n\n系统空间:12345M",
                                                    L"安装 Qorvane"};
// The status line, the bar's template text, the headline.
inline constexpr const wchar_t* kProgressPageTexts[] = {kPageCaptionWide, nullptr, L"Progress1",
                                                        L"安装 Qorvane"};
// Finish, the run box, the headline, the two offers.
inline constexpr const wchar_t* kFinishPageTexts[] = {
    kPageCaptionWide, L"完成",           L"运行 Qorvane",
    nullptr,          L"安装 Ostrelbar", L"安装“超轻爽无任何插件,免费浏览器--Marlune浏览器”"};

}  // namespace robot
