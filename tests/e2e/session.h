// One running program on an X server of its own, driven as a person would drive it.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "data/data_files.h"

struct Session {
  pid_t server = -1, program = -1;  // the Xvfb and quarnholt processes
  int displayNumber = -1, exitCode = -1;  // the exit code is set once the program has ended
  Display* display = nullptr;
  std::string workDir;  // the program's own copy of the data files; removed with the session
  bool wine = false;    // the Windows build under Wine
};

// Red, green and blue bytes, rows top first.
struct Picture { int width = 0, height = 0; std::vector<uint8_t> rgb; };
struct Colour { double r = 0, g = 0, b = 0; };  // 0 to 255

struct Wave {
  int rate = 0;                    // samples a second
  std::vector<float> left, right;  // -1 to 1
};
enum class Channel { Left, Right, Both };

// Q or a close request ends the program within a second (0.2 s measured in the
// release build); the sanitizer build on a loaded two-core machine gets more.
constexpr double QuitLimitSeconds = 2.5;

double Now();  // seconds on a monotonic clock
void Nap(double seconds = 0.02);
// Polls the condition every step until it holds (true) or the deadline passes (false).
bool WaitUntil(double seconds, const std::function<bool()>& condition, double step = 0.02);

std::string BinDirectory();  // the built program and its data files (build/bin)
// Whether the tests drive the Windows build under Wine (scripts/windows --test names Wine
// and the unpacked zip in QUARNHOLT_WINE and QUARNHOLT_WINE_DIR).
bool UnderWine();
// Starts Xvfb with one screen of the given size, the pointer in the middle of where the
// window will be, then the program in a fresh copy of the data files (changed by prepare,
// when given), with what it plays written to <workDir>/sound.wav (stereo, 16-bit) in real
// time, or under Wine to <workDir>/sound.raw. The command is the program and its
// arguments; when empty, the built program without any, or under Wine the unpacked
// Windows program in the data files' folder. With the width OnXorg, the
// server is Xorg on the dummy video driver instead (xorg.conf here), a 1280 x 1024 screen
// that switches to 1024 x 768 for real.
constexpr int OnXorg = 0;
bool StartProgram(Session& s, int width, int height, const std::function<void(const std::string& dir)>& prepare = {},
                  std::vector<std::string> command = {});
void StopSession(Session& s);
bool ProgramRunning(Session& s);
std::string ReadFile(const std::string& path);  // the whole file; empty when it cannot be read
std::string ProgramOutput(const Session& s);
// Ends the program with Q, or with a close request to the window when one is given,
// and expects it gone within the limit with exit code 0 and no sanitizer report.
void ExpectCleanEnd(Session& s, Window close = 0, double limit = QuitLimitSeconds);

// Viewable top-level windows and their titles, in stacking order.
std::vector<std::pair<Window, std::string>> TopWindows(Session& s);
// The first top window and its title that the test wants, waiting up to the deadline (or the program's end).
std::pair<Window, std::string> FindTop(Session& s, double seconds,
                                       const std::function<bool(Window, const std::string&)>& wanted);
// The first window whose title begins with prefix, waiting up to the deadline.
Window FindWindow(Session& s, const std::string& prefix, double seconds);
// The main window, titled "OpenGl Window" or already "Quarnholt N fps".
Window FindMainWindow(Session& s, double seconds);
// The frame count in a "Quarnholt N fps" title; -1 for any other title.
int TitleFrames(const std::string& title);
// Waits for the window's title to show a frame count; the count, or -1 on timeout.
int WaitForFrameCount(Session& s, Window w, double seconds);
// The window's place on the screen and size: {x, y, width, height}.
std::vector<int> Geometry(Session& s, Window w);

// Presses or releases a key (an X keysym name) on the server's keyboard, wherever the focus is.
void PressKey(Session& s, const char* keysym, bool down);
// Gives the window the keyboard focus: under Wine, keys reach only the focused window.
void Focus(Session& s, Window w);
// Gives the window the keyboard focus and taps a key.
void TapKey(Session& s, Window w, const char* keysym);
// Answers the start-up question with the keyboard (Return or Escape; under Wine, the Yes/No
// box answers to Y and N): Yes for full screen, No for a window.
bool AnswerStartQuestion(Session& s, bool fullScreen);
// Answers each box with the keyboard, in the order they come, until the main window
// counts frames; that window, and the boxes' captions in *captions.
Window AnswerBoxesUntilDrawing(Session& s, std::vector<std::string>* captions);
// Hands the screen's outputs over to other use (RandR's "non-desktop"), or back: while
// handed over, clients find them disconnected and a display mode switch is refused.
void HandOverOutputs(Session& s, bool handedOver);
// Moves the pointer by a relative amount: the program sees raw mouse counts.
void MoveMouse(Session& s, int dx, int dy);

Picture Grab(Session& s, Window w);
// Waits until the window shows the scene rather than black.
bool WaitForPicture(Session& s, Window w);
// Mean colour of the rows [y0, y1) of a picture.
Colour MeanColour(const Picture& p, int y0, int y1);
// Over the top rows: the mean absolute difference per channel (0 to 255) and the pixels
// whose colour differs by more than level in some channel; {255, all} when the sizes differ.
struct Change { double mean = 0; int pixels = 0; };
Change Compare(const Picture& a, const Picture& b, int level = 255, int rows = 1 << 30);

// The sound written so far (the header's sizes may not be filled in yet).
Wave ReadWave(const Session& s);
double SoundSeconds(const Session& s);  // how much of it has been written
// Root mean square level between two times in seconds (clipped to what exists).
double Rms(const Wave& w, Channel channel, double from, double to);
// The level between two times, once the sound has been written that far.
double Level(const Session& s, double from, double to, Channel channel = Channel::Both);
// Zeroes the samples of a 16-bit wave file, so that other sounds can be measured.
void SilenceWave(const std::string& path);
