#include "uninstall/working_copy_win32.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/constants.h"
#include "common/texts.h"
#include "common/unique_handle_win32.h"
#include "uninstall/handoff_win32.h"

namespace qz {
namespace {

// 16 random hexadecimal digits from the system's generator; empty when it fails.
std::string RandomName() {
    HCRYPTPROV provider = 0;
    if (!::CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL,
                                CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
        return std::string();
    }
    BYTE bytes[8] = {};
    const bool made = ::CryptGenRandom(provider, sizeof(bytes), bytes) != FALSE;
    ::CryptReleaseContext(provider, 0);
    if (!made) {
        return std::string();
    }
    char name[2 * sizeof(bytes) + 1] = {};
    for (std::size_t i = 0; i < sizeof(bytes); ++i) {
        std::snprintf(name + 2 * i, 3, "%02x", bytes[i]);
    }
    return name;
}

// A folder of random name under the temporary folder, made by this call
// alone (CreateDirectoryA fails when the name exists), removed again by the
// destructor unless kept.
class PrivateFolder {
  public:
    PrivateFolder() {
        char temp[kMaxPath] = {};
        const DWORD length = ::GetTempPathA(kMaxPath, temp);
        if (length == 0 || length >= kMaxPath) {
            return;
        }
        for (int attempt = 0; attempt < 8 && m_path.empty(); ++attempt) {
            const std::string name = RandomName();
            const std::string path = std::string(temp) + "qz-uninstall-" + name + "\\";
            if (!name.empty() && path.size() + std::strlen(kUninstallExe) < kMaxPath &&
                ::CreateDirectoryA(path.c_str(), nullptr)) {
                m_path = path;
            }
        }
    }
    ~PrivateFolder() {
        if (!m_path.empty() && !m_kept) {
            ::DeleteFileA((m_path + kUninstallExe).c_str());
            ::RemoveDirectoryA(m_path.c_str());
        }
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return m_path; }
    // The copy runs from here now and removes the folder itself.
    void Keep() { m_kept = true; }

  private:
    std::string m_path;
    bool m_kept = false;
};

// Copies the running program to `target` (which must not exist) and returns
// it opened for reading, sharing reading only; empty on failure.
UniqueHandle CopySelf(const std::string& target) {
    char self[kMaxPath] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, self, kMaxPath);
    if (length == 0 || length >= kMaxPath) {
        return UniqueHandle();
    }
    UniqueHandle source(::CreateFileA(self, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    {
        UniqueHandle copy(::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
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
    return UniqueHandle(::CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
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

int RunInWorkingCopy(const std::string& install_dir, bool silent) {
    PrivateFolder folder;
    if (folder.path().empty()) {
        return kUninstallNoWorkingCopy;
    }
    const std::string copy_path = folder.path() + kUninstallExe;
    UniqueHandle held = CopySelf(copy_path);
    Pipe to_copy;
    Pipe from_copy;
    HANDLE parent = nullptr;
    if (!held || !MakePipe(true, &to_copy) || !MakePipe(false, &from_copy) ||
        !::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(),
                           &parent, SYNCHRONIZE, TRUE, 0)) {
        return kUninstallNoWorkingCopy;
    }
    const UniqueHandle parent_for_copy(parent);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = to_copy.theirs.get();
    startup.hStdOutput = from_copy.theirs.get();
    startup.hStdError = nullptr;
    std::string command = "\"" + copy_path + "\" " + kUninstallCopyOption;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(copy_path.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                          folder.path().c_str(), &startup, &process)) {
        return kUninstallNoWorkingCopy;
    }
    folder.Keep();
    const UniqueHandle copy_process(process.hProcess);
    const UniqueHandle copy_thread(process.hThread);
    held.reset();
    to_copy.theirs.reset();
    from_copy.theirs.reset();

    Handoff handoff;
    handoff.install_dir = install_dir;
    handoff.silent = silent;
    handoff.parent = parent;
    SendHandoff(to_copy.ours.get(), handoff);
    to_copy.ours.reset();

    std::uint32_t outcome = 0;
    if (ReceiveOutcome(from_copy.ours.get(), &outcome)) {
        return static_cast<int>(outcome);
    }
    // The copy ended without an outcome: its exit code says why.
    ::WaitForSingleObject(copy_process.get(), INFINITE);
    DWORD code = kUninstallNoWorkingCopy;
    ::GetExitCodeProcess(copy_process.get(), &code);
    return static_cast<int>(code);
}

}  // namespace qz
