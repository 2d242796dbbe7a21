#include "robot/process.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace robot {

const char kUnset[] = "\x01unset";

EnvChanges ProgramFilesEnv(const std::string& value) {
    return {{"ProgramFiles", value}, {"ProgramW6432", value}, {"ProgramFiles(x86)", value}};
}

Process::~Process() {
    if (m_process != nullptr)
        ::CloseHandle(m_process);
}

Process::Process(Process&& other) noexcept
    : m_process(std::exchange(other.m_process, nullptr)), m_id(other.m_id) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        if (m_process != nullptr)
            ::CloseHandle(m_process);
        m_process = std::exchange(other.m_process, nullptr);
        m_id = other.m_id;
    }
    return *this;
}

namespace {

// The robot's environment with `changes` applied, as a block for CreateProcessA.
std::vector<char> MakeEnvironment(const EnvChanges& changes) {
    std::map<std::string, std::string> merged;  // keyed by upper-case name
    std::map<std::string, std::string> names;
    char* block = ::GetEnvironmentStringsA();
    for (const char* p = block; p != nullptr && *p != '\0';
         p += std::char_traits<char>::length(p) + 1) {
        const std::string entry = p;
        const size_t equals = entry.find('=', 1);
        if (equals == std::string::npos)
            continue;
        std::string key = entry.substr(0, equals);
        std::string upper = key;
        for (char& c : upper)
            c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
        merged[upper] = entry.substr(equals + 1);
        names[upper] = key;
    }
    if (block != nullptr)
        ::FreeEnvironmentStringsA(block);
    for (const auto& change : changes) {
        std::string upper = change.first;
        for (char& c : upper)
            c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
        if (change.second == kUnset) {
            merged.erase(upper);
            names.erase(upper);
        } else {
            merged[upper] = change.second;
            names[upper] = change.first;
        }
    }
    std::vector<char> out;
    for (const auto& entry : merged) {
        const std::string line = names[entry.first] + "=" + entry.second;
        out.insert(out.end(), line.begin(), line.end());
        out.push_back('\0');
    }
    out.push_back('\0');
    return out;
}

}  // namespace

bool Process::Start(const std::string& exe, const std::string& arguments,
                    const std::string& directory, const EnvChanges& changes) {
    std::string command = "\"" + exe + "\"";
    if (!arguments.empty())
        command += " " + arguments;
    std::vector<char> commandLine(command.begin(), command.end());
    commandLine.push_back('\0');
    std::vector<char> environment = MakeEnvironment(changes);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // Wine's own start of a process fails now and then on a busy machine with
    // ERROR_INTERNAL_ERROR before the program runs a line: that start, and
    // only that, is tried again.
    for (int attempt = 1;; ++attempt) {
        if (::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                             environment.data(), directory.empty() ? nullptr : directory.c_str(),
                             &startup, &info)) {
            break;
        }
        const DWORD error = ::GetLastError();
        std::printf("  %s did not start (error %lu)%s\n", exe.c_str(),
                    static_cast<unsigned long>(error),
                    error == ERROR_INTERNAL_ERROR && attempt < 3 ? ", trying again" : "");
        std::fflush(stdout);
        if (error != ERROR_INTERNAL_ERROR || attempt == 3)
            return false;
        ::Sleep(1000);
    }
    ::CloseHandle(info.hThread);
    if (m_process != nullptr)
        ::CloseHandle(m_process);
    m_process = info.hProcess;
    m_id = info.dwProcessId;
    return true;
}

bool Process::WaitExit(DWORD ms) const {
    return m_process == nullptr || ::WaitForSingleObject(m_process, ms) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (m_process != nullptr)
        ::GetExitCodeProcess(m_process, &code);
    return code;
}

void Process::Kill() {
    if (Running()) {
        ::TerminateProcess(m_process, 99);
        WaitExit(5000);
    }
}

int RunToEnd(const std::string& exe, const std::string& arguments, const std::string& directory,
             DWORD ms, const std::string& log) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE out = ::CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                               0, nullptr);
    std::string command = "\"" + exe + "\"";
    if (!arguments.empty())
        command += " " + arguments;
    std::vector<char> commandLine(command.begin(), command.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    startup.hStdInput = nullptr;
    PROCESS_INFORMATION info{};
    const BOOL started =
        ::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                         nullptr, directory.empty() ? nullptr : directory.c_str(), &startup, &info);
    if (out != INVALID_HANDLE_VALUE)
        ::CloseHandle(out);
    if (!started)
        return -1;
    ::CloseHandle(info.hThread);
    int result = -1;
    if (::WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0) {
        DWORD code = 0;
        ::GetExitCodeProcess(info.hProcess, &code);
        result = static_cast<int>(code);
    } else {
        ::TerminateProcess(info.hProcess, 99);
    }
    ::CloseHandle(info.hProcess);
    return result;
}

}  // namespace robot
