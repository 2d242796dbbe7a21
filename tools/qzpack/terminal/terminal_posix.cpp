#include <unistd.h>

#include "qzpack/terminal/terminal_progress.h"

namespace qz::pack {

bool StderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

}  // namespace qz::pack
