#include "framework/system_library.h"
#include "framework/win_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    // Before anything may load a library: DLLs come from the system folder only.
    RestrictDllSearch();
    return AfxWinMain(instance, commandLine);
}
