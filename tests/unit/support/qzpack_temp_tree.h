// A fresh folder under the system's temporary directory for the package tool's
// tests, removed with everything in it afterwards. Names are host (UTF-8)
// names: write them as u8"..." literals, since plain literals are GBK here.
#pragma once

#include <filesystem>
#include <string>

namespace qz::test {

class QzpackTempTree {
  public:
    QzpackTempTree();
    ~QzpackTempTree();
    QzpackTempTree(const QzpackTempTree&) = delete;
    QzpackTempTree& operator=(const QzpackTempTree&) = delete;

    const std::filesystem::path& root() const { return m_root; }
    // root / relative (a UTF-8 path with '/' separators).
    std::filesystem::path Path(const std::string& relative) const;
    // Writes a file, making its parent folders.
    void Write(const std::string& relative, const std::string& contents) const;
    void MakeFolder(const std::string& relative) const;
    // The whole file, or "<missing>" when it cannot be read.
    std::string Read(const std::string& relative) const;

  private:
    std::filesystem::path m_root;
};

}  // namespace qz::test
