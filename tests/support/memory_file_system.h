// A file system in memory, for the tests and the fuzzer, with fault injection.
//
// Paths are the GBK strings the installer builds, compared byte for byte (case
// counts). A path of the form "X:" or "X:\" (a drive root) always exists as a
// directory, and so does the empty path; every other directory must be made by
// CreateDirectory, whose parent must exist, as on a real disk. A trailing
// backslash is ignored when a path is looked up. Like the Windows file layer,
// a file that is open cannot be opened again until it is closed.
//
// It also removes, as the uninstaller's file layer does (file_removal.h): a
// folder marked as a link (a reparse point) is never gone through, and what
// lies below it stays.
//
// Streams refer to the file system; they must not outlive it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/file_removal.h"
#include "common/file_system.h"

namespace qz {

class MemoryFileSystem : public FileSystem, public FileRemoval {
  public:
    MemoryFileSystem();
    ~MemoryFileSystem() override;
    MemoryFileSystem(const MemoryFileSystem&) = delete;
    MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

    bool CreateDirectory(const std::string& path) override;
    std::unique_ptr<ReadStream> OpenRead(const std::string& path) override;
    std::unique_ptr<WriteStream> CreateWrite(const std::string& path) override;

    Removal RemoveFile(const std::string& root, const std::string& name) override;
    Removal RemoveFolder(const std::string& root, const std::string& name) override;
    ItemKind Inspect(const std::string& root, const std::string& name) override;
    // Records the mark (root + name as a key) unless FailMark named it.
    bool MarkForRestart(const std::string& root, const std::string& name) override;

    // Setting up: adds a file or a directory; missing parents are made too.
    void AddFile(const std::string& path, const std::string& contents);
    void AddDirectory(const std::string& path);
    // Marks a directory (made if missing) as a link: what the files below it
    // stand for lies elsewhere.
    void AddLink(const std::string& path);

    // Looking at the result.
    bool HasFile(const std::string& path) const;
    bool HasDirectory(const std::string& path) const;
    // The contents of a file; empty when there is no such file.
    std::string FileContents(const std::string& path) const;
    // Every file by path, and every directory made (without trailing backslash).
    const std::map<std::string, std::string>& files() const { return m_files; }
    const std::set<std::string>& directories() const { return m_directories; }
    // Every path passed to CreateDirectory, in call order, as given.
    const std::vector<std::string>& directory_requests() const { return m_directoryRequests; }
    // Streams opened and not yet closed.
    int open_streams() const { return static_cast<int>(m_open.size()); }
    // Calls of WriteStream::Write so far, over all streams.
    int write_calls() const { return m_writeCalls; }
    // True when nothing has been created, written or requested since the
    // file system was built.
    bool Untouched() const { return !m_touched; }
    // Every file and directory removed, in order, as keys.
    const std::vector<std::string>& removed() const { return m_removed; }
    // Everything marked for removal at the next restart, in order, as keys.
    const std::vector<std::string>& marked() const { return m_marked; }

    // Faults.
    // The nth call of Write (1-based, counted over all streams) writes nothing
    // and fails; 0 turns this off.
    void FailWriteCall(int n) { m_failWriteCall = n; }
    // The disk holds at most this many bytes over all files: a write that
    // would go beyond writes what fits and fails. Negative: no limit.
    void SetCapacity(std::int64_t bytes) { m_capacity = bytes; }
    // Opening this path, for reading or writing, fails.
    void FailOpen(const std::string& path) { m_failOpen.insert(path); }
    // Removing this file or folder fails, as for one without the permission.
    void FailRemove(const std::string& path) { m_failRemove.insert(Key(path)); }
    // Removing this file finds it in use (kInUse), as a program holding it open.
    void HoldFile(const std::string& path) { m_held.insert(Key(path)); }
    // Marking this file or folder for the next restart fails.
    void FailMark(const std::string& path) { m_failMark.insert(Key(path)); }
    // Closing a write stream on this path fails (its data stays).
    void FailClose(const std::string& path) { m_failClose.insert(path); }
    // Reading this path fails with an I/O error once offset bytes have been
    // delivered.
    void FailReadAt(const std::string& path, std::int64_t offset) { m_failRead[path] = offset; }
    // Each Read delivers at most this many bytes (0: no limit), to show that
    // readers cope with short reads.
    void LimitReads(std::size_t bytes) { m_readLimit = bytes; }

  private:
    class Reader;
    class Writer;
    friend class Reader;
    friend class Writer;

    static std::string Key(const std::string& path);
    bool DirectoryExists(const std::string& key) const;
    bool ParentExists(const std::string& key) const;
    std::int64_t StoredBytes() const;
    // kRemoved when root and every level of root + name above the item are
    // directories and none is a link; kMissing or kLink otherwise. The item's
    // key goes into *key.
    Removal WalkTo(const std::string& root, const std::string& name, std::string* key) const;

    std::map<std::string, std::string> m_files;
    std::set<std::string> m_directories;
    std::vector<std::string> m_directoryRequests;
    std::set<std::string> m_open;
    std::set<std::string> m_links;
    std::set<std::string> m_failRemove;
    std::set<std::string> m_held;
    std::set<std::string> m_failMark;
    std::vector<std::string> m_removed;
    std::vector<std::string> m_marked;
    bool m_touched = false;
    int m_writeCalls = 0;
    int m_failWriteCall = 0;
    std::int64_t m_capacity = -1;
    std::set<std::string> m_failOpen;
    std::set<std::string> m_failClose;
    std::map<std::string, std::int64_t> m_failRead;
    std::size_t m_readLimit = 0;
};

}  // namespace qz
