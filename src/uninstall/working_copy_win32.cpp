#include "uninstall/working_copy_win32.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "common/constants.h"
#include "common/private_temp_folder_win32.h"
#include "common/texts.h"
#include "common/unique_handle_win32.h"
#include "uninstall/handoff_win32.h"

namespace qz {
namespace {

// Copies the running program to `target` (which must not exist) and returns
// it opened for reading, sharing reading only; empty on failure.
UniqueHandle CopySelf(const std::wstring& target) {
    wchar_t self[kMaxPath] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, self, kMaxPath);
    if (length == 0 || length >= kMaxPath) {
        return UniqueHandle();
    }
    UniqueHandle source(::CreateFileW(self, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    {
        UniqueHandle copy(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!source || !copy) {
            return UniqueHandle();
        }
        std::vector<char> buffer(kCopyChunkSize);
        for (;;) {
            DWORD read = 0;
            if (!::ReadFile(source.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read,
                            nullptr)) {
                return UniqueHandle();
            }
            if (read == 0) {
                break;
            }
            DWORD written = 0;
            if (!::WriteFile(copy.get(), buffer.data(), read, &written, nullptr) ||
                written != read) {
                return UniqueHandle();
            }
        }
    }
    // Held without write or delete sharing while the copy starts: the image
    // the system maps is the one written here.
    return UniqueHandle(::CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// An anonymous pipe whose one end (`child_reads` tells which) the copy inherits.
struct Pipe {
    UniqueHandle ours;
    UniqueHandle theirs;
};

bool MakePipe(bool child_reads, Pipe* pipe) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    if (!::CreatePipe(&read_end, &write_end, &inherit, 0)) {
        return false;
    }
    pipe->ours.reset(child_reads ? write_end : read_end);
    pipe->theirs.reset(child_reads ? read_end : write_end);
    return ::SetHandleInformation(pipe->ours.get(), HANDLE_FLAG_INHERIT, 0) != FALSE;
}

}  // namespace

int RunInWorkingCopy(const std::string& install_dir, bool silent, HANDLE log, bool* log_handed) {
    *log_handed = false;
    PrivateTempFolder folder;
    if (!folder.Create()) {
        return kUninstallNoWorkingCopy;
    }
    const std::wstring copy_path = folder.path() + L"uninstall.exe";
    UniqueHandle held = CopySelf(copy_path);
    Pipe to_copy;
    Pipe from_copy;
    HANDLE parent = nullptr;
    if (!held || !MakePipe(true, &to_copy) || !MakePipe(false, &from_copy) ||
        !::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(),
                           &parent, SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0)) {
        return kUninstallNoWorkingCopy;
    }
    const UniqueHandle parent_for_copy(parent);
    // The copy writes to the same log, at the same position, after this one.
    HANDLE log_for_copy = nullptr;
    if (log != nullptr && !::DuplicateHandle(::GetCurrentProcess(), log, ::GetCurrentProcess(),
                                             &log_for_copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
        return kUninstallNoWorkingCopy;
    }
    const UniqueHandle log_held(log_for_copy);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = to_copy.theirs.get();
    startup.hStdOutput = from_copy.theirs.get();
    startup.hStdError = nullptr;
    // The option is ASCII: the same characters in UTF-16.
    const std::string option = kUninstallCopyOption;
    std::wstring command = L"\"" + copy_path + L"\" " + std::wstring(option.begin(), option.end());
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(copy_path.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                          folder.path().c_str(), &startup, &process)) {
        return kUninstallNoWorkingCopy;
    }
    // The copy runs from the folder now and removes it itself.
    folder.Release();
    const UniqueHandle copy_process(process.hProcess);
    const UniqueHandle copy_thread(process.hThread);
    held.reset();
    to_copy.theirs.reset();
    from_copy.theirs.reset();

    Handoff handoff;
    handoff.install_dir = install_dir;
    handoff.silent = silent;
    handoff.parent = parent;
    handoff.log = log_for_copy;
    SendHandoff(to_copy.ours.get(), handoff);
    to_copy.ours.reset();

    std::uint32_t outcome = 0;
    if (ReceiveOutcome(from_copy.ours.get(), &outcome)) {
        *log_handed = log_for_copy != nullptr;
        return static_cast<int>(outcome);
    }
    // The copy ended without an outcome: its exit code says why.
    ::WaitForSingleObject(copy_process.get(), INFINITE);
    DWORD code = kUninstallNoWorkingCopy;
    ::GetExitCodeProcess(copy_process.get(), &code);
    return static_cast<int>(code);
}

}  // namespace qz
