#include <windows.h>

#include "qzpack/host/no_link_file_system_win32.h"

#include <utility>

#include "common/dbcs.h"

namespace qz::pack {
namespace {

// True when the existing file or folder at path is a reparse point.
bool IsReparsePoint(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace

NoLinkFileSystem::NoLinkFileSystem(std::string install_dir, LeadByteTest isLead)
    : m_install_dir(std::move(install_dir)), m_is_lead(isLead) {}

bool NoLinkFileSystem::FreeOfLinks(const std::string& path) const {
    if (path.size() <= m_install_dir.size() ||
        path.compare(0, m_install_dir.size(), m_install_dir) != 0) {
        return true;
    }
    for (std::size_t end = FindBackslash(path, m_install_dir.size(), m_is_lead);;
         end = FindBackslash(path, end + 1, m_is_lead)) {
        const std::string level = path.substr(0, end);
        if (!level.empty() && level.back() != '\\' && IsReparsePoint(level)) {
            SetLastError(ERROR_CANT_RESOLVE_FILENAME);
            return false;
        }
        if (end == std::string::npos) {
            return true;
        }
    }
}

bool NoLinkFileSystem::CreateDirectory(const std::string& path) {
    return FreeOfLinks(path) && m_inner.CreateDirectory(path);
}

std::unique_ptr<ReadStream> NoLinkFileSystem::OpenRead(const std::string& path) {
    return FreeOfLinks(path) ? m_inner.OpenRead(path) : nullptr;
}

std::unique_ptr<WriteStream> NoLinkFileSystem::CreateWrite(const std::string& path) {
    return FreeOfLinks(path) ? m_inner.CreateWrite(path) : nullptr;
}

}  // namespace qz::pack
