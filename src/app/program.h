// Program start, the window's messages and the never-waiting main loop.
#pragma once

#include "platform/window.h"

// The display mode at start: asked, or given in advance on the command line.
enum class ScreenChoice { Ask, Windowed, FullScreen };

// Asks for the display mode (unless chosen), opens the window, sets up the scene and
// the input, and runs the main loop until the quit message. Returns the exit code: the
// quit message's code once the loop has run, 1 when no window could be opened.
int RunProgram(ScreenChoice choice = ScreenChoice::Ask);

// Handles one window message: close request and size change.
void HandleWindowMessage(const WindowMessage& message);
// Viewport and projection for a drawable of the given size; a height of 0 counts as 1.
void ResizeView(int width, int height);
