// The main window's handle, for the parts of the Windows back-end that tie themselves to it.
#pragma once

#include <windows.h>

// The program's one window; null until it is made.
HWND MainWindowHandle();
