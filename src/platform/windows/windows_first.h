// Included before anything else in the Windows build: <windows.h> (which OpenGL's headers
// pull in there) with user32's PostQuitMessage renamed, so that the window layer's own
// PostQuitMessage (platform/window.h) keeps its name everywhere.
#pragma once

#define PostQuitMessage PostQuitMessageOfUser32
#include <windows.h>
#undef PostQuitMessage
