#include "qzpack/host/path_within.h"

namespace qz::pack {

bool IsWithin(const std::filesystem::path& path, const std::filesystem::path& folder) {
    auto pi = path.begin();
    for (auto fi = folder.begin(); fi != folder.end(); ++fi, ++pi) {
        if (fi->empty()) {
            continue;  // the empty last level of a path ending in a separator
        }
        if (pi == path.end() || *pi != *fi) {
            return false;
        }
    }
    return true;
}

}  // namespace qz::pack
