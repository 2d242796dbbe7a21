// AfxMessageBox: a modal message box captioned with the application's name.
#pragma once

#include <windows.h>

#include "framework/screen_text.h"

// Shows `text` with the MB_ style `type`; owned by the window the user is
// working in (the main window's last active popup), from whichever thread
// calls. Returns the button pressed (IDOK, IDCANCEL, IDYES, IDNO), 0 when the
// box cannot be shown. `helpId` is accepted for compatibility and unused.
// `text` is a fixed text of the program (GBK); the box shows it, and its
// caption, through the wide function whatever the system's code page.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
// The same for a text that holds a path, converted piece by piece.
int AfxMessageBox(const ScreenText& text, UINT type = MB_OK, UINT helpId = 0);
