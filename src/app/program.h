// Program start, the window's messages and the never-waiting main loop.
#pragma once

#include "platform/window.h"

// Asks for the display mode, opens the window, sets up the scene and the input,
// and runs the main loop until the quit message. Returns the exit code: 0 after the
// quit message, 1 when no window could be opened.
int RunProgram();

// Handles one window message: close request and size change.
void HandleWindowMessage(const WindowMessage& message);
// Viewport and projection for a drawable of the given size; a height of 0 counts as 1.
void ResizeView(int width, int height);

// Posts the quit message; the main loop ends after the frame in which it was asked.
void RequestQuit();
bool QuitRequested();
