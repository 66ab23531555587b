// The main window, its OpenGL context, the display mode, the cursor and the message queue.
#pragma once

// Starts the windowing system; false when there is none (no display).
bool StartWindowSystem();
void StopWindowSystem();

// The display mode change for full-screen use, before the window is made: where the
// system switches without a window (Windows) the display now runs at 1024 x 768 with
// 32-bit pixels; where the switch needs the window (SDL) this only finds the mode offered,
// and the switch comes as the window shows. False when the mode is missing or refused.
bool SwitchToFullScreenMode();

enum class WindowCreation { Created, CreatedWithDefaultPixelFormat, Failed };

// Creates the main window hidden: a borderless 1024 x 768 full-screen window in
// the 32-bit mode, or a resizable 400 x 400 window at (200, 200). The pixel format
// asked for is RGBA with 32-bit colour (no alpha bits), a 16-bit depth buffer and double
// buffering; when the system refuses it the window is made with its default format instead.
WindowCreation CreateMainWindow(bool fullScreen, const char* title);
// A hidden window of the given size with a current context, for tests and the bench.
bool CreateHiddenWindow(int width, int height);
void DestroyMainWindow();

bool CreateRenderingContext();  // creates the context and makes it current
void DeleteRenderingContext();

// Shows the main window; a full-screen one switches the display to 1024 x 768 as it
// shows, unless SwitchToFullScreenMode has switched it already. Where the display refuses
// the switch, the window turns into the hidden 400 x 400 window and the result is false.
bool ShowMainWindow();
void GetDrawableSize(int* width, int* height);
void SetMainWindowTitle(const char* title);
void ShowSystemCursor(bool shown);
// Puts the display back into the mode it had before the program switched it.
void RestoreDisplayMode();
void PresentFrame();

struct WindowMessage {
  enum Kind { Quit, CloseRequest, Resized, Other } kind;
  int width;   // pixels, for Resized
  int height;  // pixels, for Resized
};
// Removes at most one waiting message; never waits. False when none was waiting.
// A quit message from the system counts as posted (signals are the program's own: signals.h).
bool PollWindowMessage(WindowMessage* message);
// Posts the quit message, with the code the program exits with: the quit key, a close
// request or a fatal error. The first code posted stands.
void PostQuitMessage(int exitCode);
// True once the quit message is posted: the main loop ends on it.
bool QuitMessagePosted();
int QuitMessageCode();
