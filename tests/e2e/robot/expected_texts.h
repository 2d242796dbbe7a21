// The texts a person reads in the program's windows and on disk, as the
// scenarios compare them: messages, headlines, the window title of the
// product, the name of a link, the default directory. Written here as the
// program must show them (GBK at run time, like every literal of the robot).
#pragma once

namespace robot {

// The progress page's messages.
inline constexpr char kRunningCopyQuestion[] =
    "安装程序检测到有老版本的 \"Qorvane\" 正在运行。\r\n"
    "请关闭掉相关的程序和文件夹，以便继续安装。\r\n"
    "\r\n"
    "关闭程序后按确定继续安装，按取消退出安装。";
inline constexpr char kFormatMessage[] = "安装文件格式出错,请检查文件是否受损.";
inline constexpr char kCloseRefusal[] = "安装过程中不能关闭,请稍候.";
inline constexpr char kCreateFileMessage[] = "创建文件出错,请检查磁盘空间是否足够.";
// The finish page's headlines.
inline constexpr char kSuccessHeadline[] = "Qorvane 安装完成";
inline constexpr char kFailedHeadline[] = "安装失败";
// The directory page: its proposal under the usual ProgramFiles, its refusal,
// the start of its confirmation (the directory follows).
inline constexpr char kDefaultInstallDir[] = "C:\\Program Files\\Qorvane\\";
inline constexpr char kInvalidPathText[] = "安装路径不正确,请重新选择.";
inline constexpr char kConfirmPrefix[] = "请确认安装路径:\n\n";
// The title of the application's window, by which the program finds a
// running copy.
inline constexpr char kAppWindowTitle[] = "Qorvane";
// The uninstall shortcut's file name in the Start menu.
inline constexpr char kUninstallLink[] = "卸载.lnk";

}  // namespace robot
