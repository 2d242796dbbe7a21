#include <errno.h>

#include <cstring>

#include "qzpack/host/system_error_text.h"

namespace qz::pack {

std::string LastSystemErrorText() {
    return std::strerror(errno);
}

}  // namespace qz::pack
