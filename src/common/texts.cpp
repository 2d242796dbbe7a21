#include "common/texts.h"

namespace qz {

const char kProductName[] = "Qorvane";
const char kPageCaption[] = "安装 Qorvane";
const char kProductVersion[] = "1.10";
const char kRegistryKeyPath[] = "software\\tarnwell\\velmira";
const char kRegistryValueVer[] = "ver";
const char kRegistryValuePath[] = "path";
const char kPackageFileName[] = "data.dat";
const char kLogFileName[] = "install.log";
const char kLogLineFormat[] = "[FILE] %s\r\n";
const char kProgramFilesVariable[] = "ProgramFiles";
const char kDefaultDriveRoot[] = "C:";

const char kUninstallEntryKeyPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Qorvane";
const char kPublisherName[] = "Tarnwell";
const char kQuietUninstallOption[] = " /S";
const char kEntryDisplayName[] = "DisplayName";
const char kEntryDisplayVersion[] = "DisplayVersion";
const char kEntryPublisher[] = "Publisher";
const char kEntryInstallLocation[] = "InstallLocation";
const char kEntryDisplayIcon[] = "DisplayIcon";
const char kEntryUninstallString[] = "UninstallString";
const char kEntryQuietUninstallString[] = "QuietUninstallString";
const char kEntryEstimatedSize[] = "EstimatedSize";
const char kEntryInstallDate[] = "InstallDate";
const char kEntryNoModify[] = "NoModify";
const char kEntryNoRepair[] = "NoRepair";

const char kRunLogCommandLine[] = "命令行:";
const char kRunLogInstallDir[] = "安装目录:";
const char kRunLogInvalidDir[] = "安装路径不正确:";
const char kRunLogFolderMade[] = "已创建文件夹";
const char kRunLogFolderFailed[] = "无法创建文件夹";
const char kRunLogFileWritten[] = "已写入文件";
const char kRunLogFileFailed[] = "无法写入文件";
const char kRunLogPackageFailed[] = "无法打开安装文件";
const char kRunLogShortcutWritten[] = "已创建快捷方式";
const char kRunLogShortcutFailed[] = "无法创建快捷方式";
const char kRunLogValueWritten[] = "已写入注册表值";
const char kRunLogValueFailed[] = "无法写入注册表值";
const char kRunLogKeyFailed[] = "无法打开注册表项";
const char kRunLogValueRemoved[] = "已删除注册表值";
const char kRunLogValueNotRemoved[] = "无法删除注册表值";
const char kRunLogKeyRemoved[] = "已删除注册表项";
const char kRunLogKeyNotRemoved[] = "无法删除注册表项";
const char kRunLogFileRemoved[] = "已删除文件";
const char kRunLogShortcutRemoved[] = "已删除快捷方式";
const char kRunLogFolderRemoved[] = "已删除文件夹";
const char kRunLogNotRemoved[] = "无法删除";
const char kRunLogMissing[] = "不存在,已跳过";
const char kRunLogKeptNotEmpty[] = "文件夹不为空,已保留";
const char kRunLogKeptLink[] = "链接,未跟随,已保留";
const char kRunLogKeptOther[] = "类型不符,已保留";
const char kRunLogMarked[] = "将在重新启动时删除";
const char kRunLogNotMarked[] = "无法标记为重新启动时删除";
const char kRunLogRunningCopy[] = "Qorvane 正在运行,安装已取消";
const char kRunLogUninstallRunningCopy[] = "Qorvane 正在运行,卸载已取消";
const char kRunLogMessage[] = "提示:";
const char kRunLogError[] = "错误";
const char kRunLogExitCode[] = "退出代码:";

const char kAppExe[] = "ravik.exe";
const char kUninstallExe[] = "uninstall.exe";
const char kToolbarExe[] = "data\\pendrel.exe";
const char kBrowserSetupExe[] = "data\\skelmot\\setup.exe";
const char kUsualInstallDir[] = "C:\\Program Files (x86)\\Qorvane\\";

const char kDesktopShortcutName[] = "\\Qorvane.lnk";
const char kProgramsAppShortcutFormat[] = "%s\\Qorvane\\Qorvane.lnk";
const char kProgramsUninstallShortcutFormat[] = "%s\\Qorvane\\卸载.lnk";
const char kAppShortcutDescription[] = "Qorvane";
const char kUninstallShortcutDescription[] = "卸载";

const char kBrowseTitle[] = "请选择安装目录";
const char kMsgInvalidPath[] = "安装路径不正确,请重新选择.";
const char kMsgConfirmPathFormat[] = "请确认安装路径:\n\n%s";

const char kMsgRunningCopy[] =
    "安装程序检测到有老版本的 \"Qorvane\" 正在运行。\r\n"
    "请关闭掉相关的程序和文件夹，以便继续安装。\r\n"
    "\r\n"
    "关闭程序后按确定继续安装，按取消退出安装。";
const char kMsgFormat[] = "安装文件格式出错,请检查文件是否受损.";
const char kMsgCreateFile[] = "创建文件出错,请检查磁盘空间是否足够.";
const char kMsgCloseRefusal[] = "安装过程中不能关闭,请稍候.";

const char kFinishFailedHeadline[] = "安装失败";

const char kUninstallCaption[] = "卸载 Qorvane";
const char kUninstallMutexName[] = "Tarnwell.Qorvane.Uninstall";
const char kUninstallCopyOption[] = "/working-copy";
const char kMsgUninstallConfirm[] = "您确定要从计算机中完全移除 Qorvane 及其所有组件吗？";
const char kMsgUninstallBusy[] = "卸载程序已在运行,请稍候.";
const char kMsgUninstallRunningCopy[] =
    "卸载程序检测到 \"Qorvane\" 正在运行。\r\n"
    "请关闭 Qorvane，以便继续卸载。\r\n"
    "\r\n"
    "关闭程序后按确定继续卸载，按取消退出卸载。";
const char kMsgUninstallDone[] = "Qorvane 已从您的计算机中移除。";
const char kMsgUninstallNothingHere[] = "此文件夹中没有安装 Qorvane,未移除任何文件.";
const char kMsgUninstallListRefused[] =
    "安装记录 install.log 已损坏或被改动,为安全起见未移除任何文件.";
const char kMsgUninstallNoWorkingCopy[] = "卸载程序无法启动,未移除任何文件.";
const char kMsgUninstallLeftHeading[] =
    "Qorvane 未能完全移除。以下项目仍然保留,请关闭相关程序后再次运行卸载程序:\r\n\r\n";
const char kMsgUninstallRestartHeading[] =
    "Qorvane 已从您的计算机中移除。以下文件正在使用中,将在计算机重新启动时删除:\r\n\r\n";
const char kMsgUninstallRestartLast[] = "\r\n请重新启动计算机以完成卸载。";
const char kUninstallLeftInUse[] = "  (正在使用或无权删除)";
const char kUninstallLeftAtRestart[] = "  (将在重新启动时删除)";
const char kUninstallLeftLink[] = "  (链接,未跟随)";
const char kUninstallLeftOther[] = "  (类型不符)";
const char kUninstallLeftMore[] = "……";

}  // namespace qz
