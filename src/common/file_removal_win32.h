// The uninstaller's file layer on Windows. The root and every level between it
// and the item are opened on handles of their own (FILE_FLAG_BACKUP_SEMANTICS |
// FILE_FLAG_OPEN_REPARSE_POINT, so a link is opened itself, never what it
// points at), checked on that handle, and held without delete sharing, so that
// none can be renamed or replaced by a link while the item below is removed.
// The item is opened the same way with DELETE access, checked on its handle
// and deleted through it (its delete disposition): nothing is deleted by path
// after a check. The levels stay held from one call to the next while the next
// item lies below them, which saves opening them for every file of a folder.
// Windows only; the header itself needs no Windows headers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/dbcs.h"
#include "common/file_removal.h"

namespace qz {

class Win32FileRemoval : public FileRemoval {
  public:
    // Paths are split into levels in the code page `is_lead` tells.
    explicit Win32FileRemoval(LeadByteTest is_lead);
    ~Win32FileRemoval() override;
    Win32FileRemoval(const Win32FileRemoval&) = delete;
    Win32FileRemoval& operator=(const Win32FileRemoval&) = delete;

    Removal RemoveFile(const std::string& root, const std::string& name) override;
    Removal RemoveFolder(const std::string& root, const std::string& name) override;
    ItemKind Inspect(const std::string& root, const std::string& name) override;

    // Lets go of every held level.
    void Release();

  private:
    struct Level;
    // Holds root and every level of root + name above the item, reusing the
    // levels held already. Returns kRemoved when each is a folder and none a
    // link; else kMissing, kLink or kFailed. The item's path goes to *path.
    Removal HoldLevels(const std::string& root, const std::string& name, std::string* path);
    // Opens the item with DELETE access when `remove`, checks it on its handle
    // and, when it is of the kind `folder` says, deletes it through it.
    Removal RemoveItem(const std::string& path, bool folder);

    LeadByteTest m_isLead;
    std::vector<std::unique_ptr<Level>> m_levels;
};

}  // namespace qz
