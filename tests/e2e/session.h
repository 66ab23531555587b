// One running program on an X server of its own, driven as a person would drive it.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
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
  bool ownWorkDir = false;   // workDir was made for this session and goes with it
};

struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB, rows top first
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The folder of the built program and its data files (build/bin).
std::string BinDirectory();
// Starts Xvfb with one screen of the given size and connects to it.
bool StartServer(Session& s, int width, int height);
// Starts the program from workDir (the data files' folder) with extra environment.
bool StartProgram(Session& s, const std::string& workDir, const std::vector<std::string>& env = {});
// Ends the program (if still running) and the server.
void StopSession(Session& s);

// The first top-level window whose name begins with prefix, waiting up to the deadline.
Window FindWindow(Session& s, const std::string& prefix, double seconds);
std::string WindowName(Session& s, Window w);
// The program's main window, titled "OpenGl Window" or already "Quarnholt N fps".
Window FindMainWindow(Session& s, double seconds);
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
// Q or a close request ends the program within a second (0.2 s measured in the
// release build); the sanitizer build on a loaded two-core machine gets more.
constexpr double QuitLimitSeconds = 2.5;
// Seconds on a monotonic clock.
double Now();
// A short pause between polls.
void Nap(double seconds = 0.02);

// Polls the condition every step until it holds (true) or the deadline passes (false).
bool WaitUntil(double seconds, const std::function<bool()>& condition, double step = 0.02);

// Moves the pointer by a relative amount: the program sees raw mouse counts.
void MoveMouse(Session& s, int dx, int dy);

// The frame count in a "Quarnholt N fps" title; -1 for any other title.
int TitleFrames(const std::string& title);
// Waits for the window's title to show a frame count; the count, or -1 on timeout.
int WaitForFrameCount(Session& s, Window w, double seconds);

struct Colour {
  double r = 0, g = 0, b = 0;  // 0 to 255
};
// Mean colour of the rectangle [x0, x1) x [y0, y1) of a picture.
Colour MeanColour(const Picture& p, int x0, int y0, int x1, int y1);
// Mean absolute difference per channel of two pictures of one size (0 to 255); 255 when sizes differ.
double PictureDifference(const Picture& a, const Picture& b);
// Waits until a grab differs from the reference by more than the threshold; the last grab.
Picture WaitForChange(Session& s, Window w, const Picture& reference, double threshold, double seconds);

// A folder of its own holding copies of the data files of build/bin, for the program to run in.
std::string MakeWorkDir();
void RemoveWorkDir(const std::string& dir);
// Environment that has OpenAL Soft write what the program plays to the wave file
// <workDir>/sound.wav (stereo, 16-bit, 22050 samples a second), in real time.
std::vector<std::string> WaveOutputEnv(const std::string& workDir);
std::string WaveOutputPath(const Session& s);

struct Wave {
  int rate = 0;
  std::vector<float> left, right;  // -1 to 1
  double Seconds() const { return rate ? static_cast<double>(left.size()) / rate : 0.0; }
};
enum class Channel { Left, Right, Both };
// Reads the wave file as written so far (the header's sizes may not be filled in yet).
Wave ReadWave(const std::string& path);
// Root mean square level between two times in seconds (clipped to what exists).
double Rms(const Wave& w, Channel channel, double from, double to);

// Starts a server of the given size, the program in a fresh copy of the data folder
// (changed by prepare, when given) with sound written to a wave file, answers the
// question and waits for the main window. The window, or 0 on failure.
Window StartScene(Session& s, bool fullScreen, int width = 1280, int height = 1024,
                  const std::function<void(const std::string& workDir)>& prepare = {});
// Replaces a wave file with a second of silence (so that other sounds can be measured).
void WriteSilentWave(const std::string& path);
// Pixels whose colour differs by more than level in some channel.
int ChangedPixels(const Picture& a, const Picture& b, int level);
// Viewable top-level windows and their names, in stacking order.
std::vector<std::pair<Window, std::string>> TopWindows(Session& s);
// Sanitizer or UB reports in the program's output.
bool OutputHasSanitizerReport(const Session& s);
