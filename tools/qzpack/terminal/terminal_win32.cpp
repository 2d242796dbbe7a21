#include <windows.h>

#include "qzpack/terminal/terminal_progress.h"

namespace qz::pack {

bool StderrIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != FALSE;
}

}  // namespace qz::pack
