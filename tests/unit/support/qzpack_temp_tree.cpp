#include "support/qzpack_temp_tree.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace qz::test {

QzpackTempTree::QzpackTempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qzpack-XXXXXX").string();
    if (mkdtemp(&pattern[0]) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_root = pattern;
}

QzpackTempTree::~QzpackTempTree() {
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
}

std::filesystem::path QzpackTempTree::Path(const std::string& relative) const {
    return m_root / std::filesystem::u8path(relative);
}

void QzpackTempTree::Write(const std::string& relative, const std::string& contents) const {
    const std::filesystem::path path = Path(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << contents;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void QzpackTempTree::MakeFolder(const std::string& relative) const {
    std::filesystem::create_directories(Path(relative));
}

std::string QzpackTempTree::Read(const std::string& relative) const {
    std::ifstream in(Path(relative), std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace qz::test
