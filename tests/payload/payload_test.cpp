// Runs the four stand-in programs (built beside this test) and checks what they
// leave in the launch log. Run under Wine through the build's emulator.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/unique_handle_win32.h"

namespace {

std::string DirectoryOfThisProgram() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s(path, n);
    return s.substr(0, s.rfind('\\') + 1);
}

std::string TempDirectory() {
    char path[MAX_PATH] = {};
    DWORD n = GetTempPathA(sizeof path, path);
    return std::string(path, n);
}

std::string ReadWholeFile(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string content;
    if (!file) {
        return content;
    }
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        content.append(buffer, got);
    }
    return content;
}

// Splits at CR LF; a last line without its CR LF is returned as "<partial>...".
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back("<partial>" + text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Starts program in directory; environment null means this process's own.
UniqueHandle Start(const std::string& program, const std::string& directory,
                   const char* environment = nullptr) {
    std::string command = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0,
                        const_cast<char*>(environment), directory.c_str(), &startup, &info)) {
        ADD_FAILURE() << "cannot start " << program << ", error " << GetLastError();
        return UniqueHandle();
    }
    CloseHandle(info.hThread);
    return UniqueHandle(info.hProcess);
}

// The exit code, or a value no program returns when it did not end in time.
DWORD WaitForExit(const UniqueHandle& process, DWORD timeout_ms = 20000) {
    if (!process || WaitForSingleObject(process.get(), timeout_ms) != WAIT_OBJECT_0) {
        return 0xDEAD;
    }
    DWORD code = 0xDEAD;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

struct FindResult {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK FindProductWindow(HWND window, LPARAM param) {
    auto* result = reinterpret_cast<FindResult*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (owner == result->pid && std::string(title) == "Qorvane") {
        result->window = window;
        return FALSE;
    }
    return TRUE;
}

class PayloadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bin_ = DirectoryOfThisProgram();
        // A folder whose name holds 乗 (81 5C): the log must carry the GBK bytes.
        work_ =
            TempDirectory() + "qz\x81\x5cpayload-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(work_.c_str(), nullptr);
        log_ = work_ + "launches.log";
        DeleteFileA(log_.c_str());
        SetEnvironmentVariableA("QZ_LAUNCH_LOG", log_.c_str());
    }
    void TearDown() override { SetEnvironmentVariableA("QZ_LAUNCH_LOG", nullptr); }

    std::string bin_, work_, log_;
};

TEST_F(PayloadTest, ProgramsStartedTogetherEachRecordOneWholeLine) {
    // Three copies of each exiting program at once: they meet on the log.
    const char* names[] = {"uninstall.exe", "pendrel.exe", "setup.exe"};
    std::vector<UniqueHandle> processes;
    std::vector<std::string> expected;
    for (int round = 0; round < 3; ++round) {
        for (const char* name : names) {
            processes.push_back(Start(bin_ + name, work_));
            expected.push_back(bin_ + name + "|" + work_.substr(0, work_.size() - 1));
        }
    }
    for (const auto& process : processes) {
        EXPECT_EQ(WaitForExit(process), 0u);
    }
    std::vector<std::string> lines = Lines(ReadWholeFile(log_));
    std::sort(lines.begin(), lines.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);
}

TEST_F(PayloadTest, RecordsTheModulePathAsStartedWithGbkNames) {
    // A copy under a folder named 数据嘰 (嘰 = 87 5C), started from the root.
    std::string folder = work_ + "\xca\xfd\xbe\xdd\x87\x5c\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string copy = folder + "setup.exe";
    ASSERT_TRUE(CopyFileA((bin_ + "setup.exe").c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(WaitForExit(Start(copy, "C:\\")), 0u);
    EXPECT_EQ(ReadWholeFile(log_), copy + "|C:\\\r\n");
}

TEST_F(PayloadTest, WithoutTheVariableTheLogIsOnDriveC) {
    // An environment block of one variable: no QZ_LAUNCH_LOG.
    static const char environment[] = "QZ_OTHER=1\0";
    std::string default_log = "C:\\qz-launches.log";
    DeleteFileA(default_log.c_str());
    EXPECT_EQ(WaitForExit(Start(bin_ + "pendrel.exe", work_, environment)), 0u);
    EXPECT_EQ(ReadWholeFile(default_log),
              bin_ + "pendrel.exe|" + work_.substr(0, work_.size() - 1) + "\r\n");
    DeleteFileA(default_log.c_str());
}

TEST_F(PayloadTest, AppWindowStaysUntilClosed) {
    UniqueHandle app = Start(bin_ + "ravik.exe", work_);
    ASSERT_TRUE(app);
    FindResult found = {GetProcessId(app.get()), nullptr};
    for (int i = 0; i < 200 && found.window == nullptr; ++i) {
        EnumWindows(FindProductWindow, reinterpret_cast<LPARAM>(&found));
        if (found.window == nullptr) {
            Sleep(50);
        }
    }
    ASSERT_NE(found.window, nullptr) << "no top-level window titled Qorvane";
    // The installer looks for the product this way.
    EXPECT_EQ(FindWindowA(nullptr, "Qorvane"), found.window);
    EXPECT_TRUE(IsWindowVisible(found.window));
    EXPECT_EQ(GetParent(found.window), nullptr);
    EXPECT_EQ(WaitForSingleObject(app.get(), 500), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the program ended while its window was open";

    PostMessageA(found.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(app), 0u);
    EXPECT_EQ(ReadWholeFile(log_),
              bin_ + "ravik.exe|" + work_.substr(0, work_.size() - 1) + "\r\n");
}

}  // namespace
