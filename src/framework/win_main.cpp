#include "framework/win_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return AfxWinMain(instance, commandLine);
}
