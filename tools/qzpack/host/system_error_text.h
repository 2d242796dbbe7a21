// The system's words for the error of the last failed call on this thread
// (errno on POSIX, GetLastError on Windows), as the terminal shows them.
#pragma once

#include <string>

namespace qz::pack {

std::string LastSystemErrorText();

}  // namespace qz::pack
