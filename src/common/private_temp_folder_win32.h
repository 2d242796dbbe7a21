// PrivateTempFolder: a fresh folder of random name under the temporary
// folder, made by this process alone (created exclusively: a name that exists,
// be it a folder, a file or a link someone planted, is never taken), and
// removed with everything in it when its owner ends. Paths are UTF-16, so the
// folder is found whatever the user's name and the system's code page. Windows
// only.
#pragma once

#include <string>
#include <utility>

namespace qz {

class PrivateTempFolder {
  public:
    // No folder yet: Create makes one.
    PrivateTempFolder() = default;
    // Remove.
    ~PrivateTempFolder();
    PrivateTempFolder(PrivateTempFolder&& other) noexcept;
    PrivateTempFolder& operator=(PrivateTempFolder&& other) noexcept;
    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

    // Makes the folder (any folder made before is removed first): a name of
    // 16 random hexadecimal digits after "qz", from the system's random
    // numbers, tried afresh while the name is taken. False, with the thread's
    // last error set and no folder, when the temporary folder is unknown, no
    // random numbers are given, or the system refused. Throws only for want of
    // memory.
    bool Create();

    // The folder's path, ending with a backslash; empty when there is none.
    const std::wstring& path() const { return m_path; }

    // Removes everything in the folder, then the folder; a link inside it is
    // removed itself, never followed. What cannot be removed (a file another
    // program holds open) stays. Afterwards there is no folder.
    void Remove() noexcept;

    // Gives the folder up: it is no longer removed by this owner (a program
    // started from it removes it itself). Returns its path; afterwards there
    // is no folder.
    std::wstring Release() noexcept { return std::exchange(m_path, std::wstring()); }

  private:
    std::wstring m_path;
};

}  // namespace qz
