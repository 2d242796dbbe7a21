#include "robot/installer.h"

#include <cstdio>

#include "res/resource.h"
#include "robot/files.h"
#include "robot/report.h"
#include "robot/scenario.h"
#include "robot/ui.h"

namespace robot {

const char kPageCaption[] = "安装 Qorvane";
const char kAboutCaption[] = "关于 Install";

Installer::Installer(const SetupOptions& options) : m_options(options) {
    m_workDir = "C:\\qz-e2e\\" + CurrentScenario() + "\\";
    m_setupDir = m_workDir + m_options.setupFolder + "\\";
    RemoveTree(m_workDir);
    Require(MakeDirs(m_setupDir), "the scratch folder " + m_setupDir + " can be made");
    const std::string program =
        m_options.program.empty() ? RequiredPathEnv("QZ_INSTALL_EXE") : m_options.program;
    Require(CopyOneFile(program, m_setupDir + m_options.exeName),
            "Install.exe is copied into the scratch folder");
    if (!m_options.package.empty()) {
        Require(CopyOneFile(m_options.package, m_setupDir + "data.dat"),
                "the package is copied beside Install.exe");
    }
}

Installer::~Installer() {
    m_process.Kill();
}

void Installer::Start(const std::string& arguments) {
    EnvChanges env = m_options.env;
    env["QZ_LAUNCH_LOG"] = LaunchLog();
    const std::string& current = m_options.startDir.empty() ? m_setupDir : m_options.startDir;
    Require(m_process.Start(m_setupDir + m_options.exeName, arguments, current, env),
            "Install.exe starts");
}

std::string Installer::AppName() const {
    const size_t dot = m_options.exeName.rfind('.');
    return dot == std::string::npos ? m_options.exeName : m_options.exeName.substr(0, dot);
}

HWND Installer::WaitHost(DWORD ms) {
    return WaitDialog(Pid(), m_options.pageCaption, IDC_INSTALL, ms);
}
HWND Installer::WaitLicence(DWORD ms) {
    return WaitDialog(Pid(), m_options.pageCaption, IDC_LICENSE_TEXT, ms);
}
HWND Installer::WaitPathPage(DWORD ms) {
    return WaitDialog(Pid(), m_options.pageCaption, IDC_INSTALL_PATH, ms);
}
HWND Installer::WaitProgress(DWORD ms) {
    return WaitDialog(Pid(), m_options.pageCaption, IDC_PROGRESS, ms);
}
HWND Installer::WaitFinish(DWORD ms) {
    return WaitDialog(Pid(), m_options.pageCaption, IDC_OFFER_TOOLBAR, ms);
}
HWND Installer::WaitMessage(Buttons buttons, DWORD ms) {
    return WaitMessageBox(Pid(), AppName(), buttons, ms);
}
bool Installer::WaitExit(DWORD ms) {
    return m_process.WaitExit(ms);
}

HWND PressInstallOnHost(Installer& run, HWND host) {
    Step("press Install on the host");
    Click(host, IDC_INSTALL);
    HWND licence = run.WaitLicence();
    Require(licence != nullptr, "the licence page opens");
    return licence;
}

HWND AgreeAndGoOn(Installer& run, HWND licence) {
    Step("tick the agreement and press Next");
    Click(licence, IDC_AGREE);
    Require(WaitUntil([&] { return IsEnabled(Item(licence, IDOK)); }),
            "Next is enabled once the agreement is ticked");
    Click(licence, IDOK);
    HWND path = run.WaitPathPage();
    Require(path != nullptr, "the install-directory page opens");
    return path;
}

HWND ChooseDirectory(Installer& run, HWND pathPage, const std::string& dir) {
    if (!dir.empty()) {
        Step("type the install directory " + dir);
        TypeText(pathPage, IDC_INSTALL_PATH, dir);
    }
    Click(pathPage, IDOK);
    HWND confirm = run.WaitMessage(Buttons::kYesNo);
    Require(confirm != nullptr, "the confirmation appears");
    Click(confirm, IDYES);
    HWND progress = run.WaitProgress();
    Require(progress != nullptr, "the progress page opens");
    return progress;
}

HWND WalkToProgress(Installer& run, const std::string& dir) {
    HWND host = run.WaitHost();
    Require(host != nullptr, "the host dialog appears");
    HWND licence = PressInstallOnHost(run, host);
    HWND path = AgreeAndGoOn(run, licence);
    return ChooseDirectory(run, path, dir);
}

void PackFolder(const std::string& folder, const std::string& package) {
    const std::string qzpack = RequiredPathEnv("QZ_QZPACK_EXE");
    const std::string log = package + ".qzpack.log";
    // A final backslash would escape the closing quote on the command line.
    std::string source = folder;
    while (source.size() > 3 && source.back() == '\\')
        source.pop_back();
    const int code =
        RunToEnd(qzpack, "create \"" + source + "\" -o \"" + package + "\"", "", 120000, log);
    if (code != 0) {
        std::printf("%s\n", Printable(ReadWholeFile(log)).c_str());
    }
    Require(code == 0, Format("qzpack packs %s (exit %d)", folder.c_str(), code));
}

std::string DemoPayloadDir() {
    return RequiredPathEnv("QZ_DEMO_PAYLOAD");
}

std::string PayloadProgramsDir() {
    return RequiredPathEnv("QZ_PAYLOAD_DIR");
}

}  // namespace robot
