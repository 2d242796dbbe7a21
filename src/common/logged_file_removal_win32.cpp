#include <windows.h>

#include "common/logged_file_removal_win32.h"

#include "common/texts.h"

namespace qz {

Removal LoggedFileRemoval::Logged(Removal removal, const std::string& path, const char* removed) {
    const DWORD error = ::GetLastError();
    switch (removal) {
        case Removal::kRemoved:
            m_log.Event(removed, path);
            break;
        case Removal::kMissing:
            m_log.Event(kRunLogMissing, path);
            break;
        case Removal::kLink:
            m_log.Event(kRunLogKeptLink, path);
            break;
        case Removal::kNotEmpty:
            m_log.Event(kRunLogKeptNotEmpty, path);
            break;
        case Removal::kWrongKind:
            m_log.Event(kRunLogKeptOther, path);
            break;
        case Removal::kInUse:
        case Removal::kFailed:
            m_log.Failure(kRunLogNotRemoved, path, error);
            break;
    }
    return removal;
}

Removal LoggedFileRemoval::RemoveFile(const std::string& root, const std::string& name) {
    const std::string path = root + name;
    const bool installed = path.compare(0, m_installDir.size(), m_installDir) == 0;
    return Logged(m_inner.RemoveFile(root, name), path,
                  installed ? kRunLogFileRemoved : kRunLogShortcutRemoved);
}

Removal LoggedFileRemoval::RemoveFolder(const std::string& root, const std::string& name) {
    return Logged(m_inner.RemoveFolder(root, name), root + name, kRunLogFolderRemoved);
}

bool LoggedFileRemoval::MarkForRestart(const std::string& root, const std::string& name) {
    const bool marked = m_inner.MarkForRestart(root, name);
    if (marked) {
        m_log.Event(kRunLogMarked, root + name);
    } else {
        m_log.Failure(kRunLogNotMarked, root + name, ::GetLastError());
    }
    return marked;
}

}  // namespace qz
