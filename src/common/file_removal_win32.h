// The uninstaller's file layer on Windows, built on the link check of
// no_link_file_system_win32.h: the root and every level between it and the
// item are opened on handles of their own without following a reparse point,
// checked on that handle (and by name, as Wine shows a folder link only
// there), and held without delete sharing; the item is opened the same way
// with DELETE access, checked on its handle and deleted through it (its
// delete disposition): nothing is deleted by path after a check. The levels
// stay held from one call to the next while the next item lies below them.
// One instance serves one thread. Windows only; the header itself needs no
// Windows headers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/dbcs.h"
#include "common/file_removal.h"

namespace qz {

class NoLinkFileSystem;

class Win32FileRemoval : public FileRemoval {
  public:
    // Paths are split into levels in the code page `is_lead` tells.
    explicit Win32FileRemoval(LeadByteTest is_lead);
    ~Win32FileRemoval() override;
    Win32FileRemoval(const Win32FileRemoval&) = delete;
    Win32FileRemoval& operator=(const Win32FileRemoval&) = delete;

    // Both leave the system's error code of a kInUse or kFailed as the
    // thread's last error.
    Removal RemoveFile(const std::string& root, const std::string& name) override;
    Removal RemoveFolder(const std::string& root, const std::string& name) override;
    ItemKind Inspect(const std::string& root, const std::string& name) override;
    // MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT (the system's list of
    // pending removals); needs the right to write it. The system's error
    // code stays for the caller when it returns false.
    bool MarkForRestart(const std::string& root, const std::string& name) override;

    // Lets go of every held level.
    void Release();

  private:
    // The link-checking layer below `root`, made on first use.
    NoLinkFileSystem& LayerFor(const std::string& root);
    // Opens root + name (a folder when `folder`) with DELETE access through
    // the layer and, when it is of that kind, deletes it through its handle.
    // A refusal's error code is stored in *error.
    Removal Remove(const std::string& root, const std::string& name, bool folder,
                   std::uint32_t* error);

    LeadByteTest m_isLead;
    std::vector<std::pair<std::string, std::unique_ptr<NoLinkFileSystem>>> m_layers;
};

}  // namespace qz
