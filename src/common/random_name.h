// Random hexadecimal digits for names nobody can guess beforehand: a
// temporary file made beside the one it will replace is created under such a
// name, so that no file or link can be planted there in advance.
#pragma once

#include <cstddef>
#include <string>

namespace qz {

// count lower-case hexadecimal digits, 24 random bits for every six.
std::string RandomHexDigits(std::size_t count);

}  // namespace qz
