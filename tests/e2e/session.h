// One running program on an X server of its own, driven as a person would drive it.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

struct Session {
  pid_t server = -1;         // the Xvfb process
  pid_t program = -1;        // the quarnholt process
  int displayNumber = -1;
  Display* display = nullptr;
  std::string workDir;       // the program's current directory
  std::string output;        // file holding the program's standard output and error
  int exitCode = -1;         // set once the program has ended
};

struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB, rows top first
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Starts Xvfb with one screen of the given size and connects to it.
bool StartServer(Session& s, int width, int height);
// Starts the program from workDir (the data files' folder) with extra environment.
bool StartProgram(Session& s, const std::string& workDir, const std::vector<std::string>& env = {});
// Ends the program (if still running) and the server.
void StopSession(Session& s);

// The first top-level window whose name begins with prefix, waiting up to the deadline.
Window FindWindow(Session& s, const std::string& prefix, double seconds);
std::string WindowName(Session& s, Window w);
// Gives the window the keyboard focus and taps a key (an X keysym name: "Return", "Escape", "q").
void TapKey(Session& s, Window w, const char* keysym);
// Presses or releases a key on the server's keyboard, wherever the focus is.
void PressKey(Session& s, const char* keysym, bool down);
// Answers the start-up question: Yes for full screen, No for a window.
bool AnswerStartQuestion(Session& s, bool fullScreen);
// Asks the window manager way to close the window (WM_DELETE_WINDOW).
void RequestClose(Session& s, Window w);
// Waits for the program to end; false on timeout.
bool WaitForExit(Session& s, double seconds);
bool ProgramRunning(Session& s);
void WindowGeometry(Session& s, Window w, int* x, int* y, int* width, int* height);
Picture Grab(Session& s, Window w);
std::string ProgramOutput(const Session& s);
// Seconds on a monotonic clock.
double Now();
// A short pause between polls.
void Nap(double seconds = 0.02);
