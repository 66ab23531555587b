// The end-to-end harness: one running program on an X server of its own, driven as a person
// would drive it: keys, windows, pictures, sound.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#define Picture XRenderPicture  // the render extension's, beside our own Picture
#include <X11/extensions/Xrandr.h>
#undef Picture
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "data/data_files.h"
#include "support/bytes.h"
#include "support/levels.h"

struct Session {
  pid_t server = -1, program = -1;        // the Xvfb and quarnholt processes
  int displayNumber = -1, exitCode = -1;  // the exit code is set once the program has ended
  Display* display = nullptr;
  std::string workDir;  // the program's own copy of the data files; removed with the session
  bool wine = false;    // the Windows build under Wine
};

// Red, green and blue bytes, rows top first.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
};
struct Colour {
  double r = 0, g = 0, b = 0;
};  // 0 to 255

struct Wave {
  int rate = 0;
  std::vector<float> stereo;
};  // frames a second; interleaved, -1 to 1

// Q or a close request ends the program within a second (0.2 s measured in the
// release build); the sanitizer build on a loaded two-core machine gets more.
constexpr double QuitLimitSeconds = 2.5;

// With the width OnXorg, the server is Xorg on the dummy video driver instead (xorg.conf
// here), a 1280 x 1024 screen that switches to 1024 x 768 for real.
constexpr int OnXorg = 0;

// Seconds on a monotonic clock.
inline double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

inline void Nap(double seconds = 0.02) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// Polls the condition every step until it holds (true) or the deadline passes (false).
inline bool WaitUntil(double seconds, double step, const std::function<bool()>& condition) {
  for (double deadline = Now() + seconds; !condition(); Nap(step))
    if (Now() > deadline) return false;
  return true;
}
inline bool WaitUntil(double seconds, const std::function<bool()>& condition) {
  return WaitUntil(seconds, 0.02, condition);
}

// The built program and its data files (build/bin).
inline std::string BinDirectory() { return QUARNHOLT_E2E_BIN_DIR; }

// Whether the tests drive the Windows build under Wine (scripts/windows --test names Wine
// and the unpacked zip in QUARNHOLT_WINE and QUARNHOLT_WINE_DIR).
inline bool UnderWine() { return std::getenv("QUARNHOLT_WINE_DIR") && std::getenv("QUARNHOLT_WINE"); }

// Xvfb, or Xorg on the dummy driver with its settings and log in the work folder. Xorg
// runs as nobody when the tests run as root: as root it would take a virtual terminal.
inline bool StartServer(Session& s, int width, int height) {
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // windows vanish while the test looks at them
  int fds[2];
  if (pipe(fds) != 0) return false;
  std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24", fd = std::to_string(fds[1]);
  std::string config = s.workDir + "/xorg.conf", log = s.workDir + "/xorg.log";
  std::error_code error;
  if (width == OnXorg && (!std::filesystem::copy_file(QUARNHOLT_E2E_XORG_CONF, config, error) ||
                          (getuid() == 0 && chown(s.workDir.c_str(), 65534, 65534) != 0)))
    return false;
  s.server = fork();
  if (s.server == 0) {
    dup2(open("/dev/null", O_WRONLY), 1);
    dup2(1, 2);
    if (width != OnXorg)
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
             static_cast<char*>(nullptr));
    else if (getuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0))
      execlp("Xorg", "Xorg", "-displayfd", fd.c_str(), "-config", config.c_str(), "-logfile", log.c_str(), "-noreset",
             "-nolisten", "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  // Xvfb writes its display number and a line break once it accepts clients.
  FILE* number = fdopen(fds[0], "r");
  bool told = std::fscanf(number, "%d", &s.displayNumber) == 1;
  std::fclose(number);
  s.display = told ? XOpenDisplay(std::string(":").append(std::to_string(s.displayNumber)).c_str()) : nullptr;
  return s.display != nullptr;
}

// The Windows program from the unpacked zip, beside the data files, its sound sent by ALSA
// (whose settings Wine reads from the home given to it) to a file in the folder.
inline std::vector<std::string> UnpackWindowsProgram(Session& s) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(std::getenv("QUARNHOLT_WINE_DIR"), error))
    std::filesystem::copy_file(entry.path(), s.workDir / entry.path().filename(),
                               std::filesystem::copy_options::overwrite_existing, error);
  std::ofstream(s.workDir + "/.asoundrc")
      << "pcm.!default { type file; slave.pcm \"null\"; file \"" << s.workDir << "/sound.raw\"; format \"raw\" }\n";
  s.wine = true;
  return {std::getenv("QUARNHOLT_WINE"), "quarnholt.exe"};
}

// A folder of its own holding copies of the data files, and OpenAL Soft's settings.
inline std::string MakeWorkDir() {
  char name[] = "/tmp/quarnholt-e2e-XXXXXX";
  if (!mkdtemp(name)) return "";
  std::error_code error;
  for (const char* file : DataFileNames)
    std::filesystem::copy_file(std::filesystem::path(BinDirectory()) / file, std::filesystem::path(name) / file, error);
  std::ofstream(std::string(name) + "/alsoft.conf")
      << "[general]\nchannels = stereo\nsample-type = int16\nfrequency = 22050\nhrtf = false\n"
      << "[wave]\nfile = " << name << "/sound.wav\n";
  return name;
}

// Starts Xvfb with one screen of the given size, then the program in a fresh copy of the data files (changed by
// prepare, when given), with what it plays written to <workDir>/sound.wav (stereo, 16-bit) in real time, or under Wine
// to <workDir>/sound.raw. The command is the program and its arguments; when empty, the built program without any, or
// under Wine the unpacked Windows program in the data files' folder.
inline bool StartProgram(Session& s, int width, int height,
                         const std::function<void(const std::string& dir)>& prepare = {},
                         std::vector<std::string> command = {}) {
  if ((s.workDir = MakeWorkDir()).empty() || !StartServer(s, width, height)) return false;
  if (command.empty())
    command = UnderWine() ? UnpackWindowsProgram(s) : std::vector<std::string>{BinDirectory() + "/quarnholt"};
  if (prepare) prepare(s.workDir);
  std::vector<char*> arguments;
  arguments.reserve(command.size() + 1);
  for (std::string& argument : command) arguments.push_back(argument.data());
  arguments.push_back(nullptr);
  std::string output = s.workDir + "/quarnholt-output.txt";
  s.program = fork();
  if (s.program == 0) {
    setpgid(0, 0);  // its own group, so that a stop also ends a message box's helper process
    if (chdir(s.workDir.c_str()) != 0) _exit(126);
    dup2(open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(1, 2);
    setenv("DISPLAY", std::string(":").append(std::to_string(s.displayNumber)).c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    setenv("ALSOFT_CONF", (s.workDir + "/alsoft.conf").c_str(), 1);
    if (s.wine) setenv("HOME", s.workDir.c_str(), 1);
    execv(arguments[0], arguments.data());
    _exit(127);
  }
  return s.program > 0;
}

inline bool ProgramRunning(Session& s) {
  int status = 0;
  if (s.program <= 0) return false;
  if (waitpid(s.program, &status, WNOHANG) == 0) return true;
  s.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  s.program = -1;
  return false;
}

inline void StopSession(Session& s) {
  if (ProgramRunning(s)) kill(-s.program, SIGKILL), waitpid(s.program, nullptr, 0);
  if (s.display) XCloseDisplay(s.display);
  if (s.server > 0) kill(s.server, SIGTERM), waitpid(s.server, nullptr, 0);
  // The next Windows program in the same prefix waits for this one's Wine server to end.
  const std::string server =
      std::filesystem::path(s.wine ? std::getenv("QUARNHOLT_WINE") : "").parent_path() / "wineserver";
  if (s.wine && std::system(("'" + server + "' -w").c_str()) != 0) ADD_FAILURE() << "the Wine server";
  std::error_code error;
  if (s.workDir.rfind("/tmp/quarnholt-e2e-", 0) == 0) std::filesystem::remove_all(s.workDir, error);
  s = Session{};
}

inline std::string ProgramOutput(const Session& s) { return ReadFile(s.workDir + "/quarnholt-output.txt"); }

// The first viewable top-level window (in stacking order) and its title that the test
// wants, waiting up to the deadline (or the program's end).
inline std::pair<Window, std::string> FindTop(Session& s, double seconds,
                                              const std::function<bool(Window, const std::string&)>& wanted) {
  std::pair<Window, std::string> found = {0, ""};
  WaitUntil(seconds, 0.05, [&] {
    Window root = DefaultRootWindow(s.display), parent, *children = nullptr;
    unsigned count = 0;
    XQueryTree(s.display, root, &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && !found.first; ++i) {
      XWindowAttributes a;
      XTextProperty name = {};
      if (!XGetWindowAttributes(s.display, children[i], &a) || a.map_state != IsViewable) continue;
      // Every title used here is plain ASCII, the same bytes in any of X's encodings.
      XGetWMName(s.display, children[i], &name);
      std::string title = name.value ? std::string(reinterpret_cast<char*>(name.value), name.nitems) : "";
      if (name.value) XFree(name.value);
      if (wanted(children[i], title)) found = {children[i], title};
    }
    if (children) XFree(children);
    return found.first != 0 || !ProgramRunning(s);
  });
  return found;
}

// The first window whose title begins with prefix, waiting up to the deadline.
inline Window FindWindow(Session& s, const std::string& prefix, double seconds) {
  return FindTop(s, seconds, [&](Window, const std::string& title) { return title.starts_with(prefix); }).first;
}

// The frame count in a "Quarnholt N fps" title; -1 for any other title.
inline int TitleFrames(const std::string& title) {
  int frames = -1, end = 0;
  std::sscanf(title.c_str(), "Quarnholt %d fps%n", &frames, &end);
  return end == static_cast<int>(title.size()) ? frames : -1;
}

// The main window, titled "OpenGl Window" or already "Quarnholt N fps".
inline Window FindMainWindow(Session& s, double seconds) {
  return FindTop(s, seconds, [](Window, const std::string& t) { return t == "OpenGl Window" || TitleFrames(t) >= 0; })
      .first;
}

// Waits for the window's title to show a frame count; the count, or -1 on timeout.
inline int WaitForFrameCount(Session& s, Window w, double seconds) {
  auto has = [&](Window window, const std::string& title) { return window == w && TitleFrames(title) >= 0; };
  return TitleFrames(FindTop(s, seconds, has).second);
}

// The window's place on the screen and size: {x, y, width, height}.
inline std::vector<int> Geometry(Session& s, Window w) {
  XWindowAttributes attributes = {};
  int x = -1, y = -1;
  Window child;
  XGetWindowAttributes(s.display, w, &attributes);
  XTranslateCoordinates(s.display, w, DefaultRootWindow(s.display), 0, 0, &x, &y, &child);
  return {x, y, attributes.width, attributes.height};
}

// Presses or releases a key (an X keysym name) on the server's keyboard, wherever the focus is.
inline void PressKey(Session& s, const char* keysym, bool down) {
  XTestFakeKeyEvent(s.display, XKeysymToKeycode(s.display, XStringToKeysym(keysym)), down, CurrentTime);
  XSync(s.display, False);
}

// Gives the window the keyboard focus: under Wine, keys reach only the focused window.
inline void Focus(Session& s, Window w) {
  XSetInputFocus(s.display, w, RevertToPointerRoot, CurrentTime);
  XSync(s.display, False);
}

// Gives the window the keyboard focus and taps a key, or holds it for a few frames.
inline void TapKey(Session& s, Window w, const char* keysym, double hold = 0.05) {
  Focus(s, w);
  PressKey(s, keysym, true);
  Nap(hold);
  PressKey(s, keysym, false);
}

// Answers the start-up question with the keyboard (Return or Escape; under Wine, the Yes/No
// box answers to Y and N): Yes for full screen, No for a window.
inline bool AnswerStartQuestion(Session& s, bool fullScreen) {
  Window box = FindWindow(s, "Fullscreen?", 60.0);
  if (box) TapKey(s, box, UnderWine() ? (fullScreen ? "y" : "n") : (fullScreen ? "Return" : "Escape"));
  return box != 0;
}

// Hands the screen's outputs over to other use (RandR's "non-desktop"), or back: while
// handed over, clients find them disconnected and a display mode switch is refused.
inline void HandOverOutputs(Session& s, bool handedOver) {
  XRRScreenResources* resources = XRRGetScreenResources(s.display, DefaultRootWindow(s.display));
  long nonDesktop = handedOver;
  for (int i = 0; resources && i < resources->noutput; ++i)
    XRRChangeOutputProperty(s.display, resources->outputs[i], XInternAtom(s.display, "non-desktop", False), XA_INTEGER,
                            32, PropModeReplace, reinterpret_cast<unsigned char*>(&nonDesktop), 1);
  if (resources) XRRFreeScreenResources(resources);
  XSync(s.display, False);
}

// Moves the pointer by a relative amount: the program sees raw mouse counts. (Under Wine it
// sees the moves only over its window, counted from where it last saw the pointer: the
// screen's middle, to the right of the window, when it starts.)
inline void MoveMouse(Session& s, int dx, int dy) {
  XTestFakeRelativeMotionEvent(s.display, dx, dy, CurrentTime);
  XSync(s.display, False);
}

// Answers each box with the keyboard, in the order they come, until the main window
// counts frames; that window, and the boxes' captions in *captions.
inline Window AnswerBoxesUntilDrawing(Session& s, std::vector<std::string>* captions) {
  auto wanted = [](Window, const std::string& t) {
    return TitleFrames(t) >= 0 || (!t.empty() && t != "OpenGl Window" && t != "Fullscreen?");
  };
  for (auto [box, title] = FindTop(s, 180.0, wanted); box; std::tie(box, title) = FindTop(s, 180.0, wanted)) {
    if (TitleFrames(title) >= 0) return box;
    captions->push_back(title);
    // Each box may come with the last one's window id, so watch for this one closing rather than for the id.
    XSelectInput(s.display, box, StructureNotifyMask);
    TapKey(s, box, "Return");
    XEvent closed;
    const Window answered = box;
    WaitUntil(20.0, [&] { return XCheckTypedWindowEvent(s.display, answered, UnmapNotify, &closed); });
  }
  return 0;
}

// Ends the program with Q, or with a close request to the window when one is given,
// and expects it gone within the limit with exit code 0 and no sanitizer report.
inline void ExpectCleanEnd(Session& s, Window close = 0, double limit = QuitLimitSeconds) {
  const Window main = close ? close : FindMainWindow(s, 0.0);
  auto viewable = [&] {
    XWindowAttributes a;
    return XGetWindowAttributes(s.display, main, &a) && a.map_state == IsViewable;
  };
  double asked = Now();
  if (close) {
    XEvent event = {};
    event.xclient = {ClientMessage, 0, False, s.display, close, XInternAtom(s.display, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(s.display, "WM_DELETE_WINDOW", False));
    XSendEvent(s.display, close, False, NoEventMask, &event);
    XSync(s.display, False);
  } else {
    Focus(s, main);
    PressKey(s, "q", true);
  }
  WaitUntil(limit + 5.0, 0.01, [&] { return !ProgramRunning(s) || !viewable(); });
  double took = Now() - asked;
  bool ended = WaitUntil(60.0, 0.02, [&] { return !ProgramRunning(s); });
  if (!close) PressKey(s, "q", false);
  ASSERT_TRUE(ended);
  EXPECT_LT(took, limit);
  std::string output = ProgramOutput(s);
  EXPECT_EQ(s.exitCode, 0) << output;
  for (const char* report : {"Sanitizer", "runtime error:"})
    EXPECT_EQ(output.find(report), std::string::npos) << output;
}

inline Picture Grab(Session& s, Window w) {
  Picture picture;
  XWindowAttributes a = {};
  XImage* image = nullptr;
  if (!XGetWindowAttributes(s.display, w, &a) ||
      !(image = XGetImage(s.display, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap)))
    return picture;
  picture.width = image->width;
  picture.height = image->height;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      for (int shift = 16; shift >= 0; shift -= 8) picture.rgb.push_back((XGetPixel(image, x, y) >> shift) & 0xFF);
  XDestroyImage(image);
  return picture;
}

// Mean colour of the rows [y0, y1) of a picture.
inline Colour MeanColour(const Picture& p, int y0, int y1) {
  double sum[3] = {};
  size_t first = 3ul * y0 * p.width, last = std::min(p.rgb.size(), 3ul * y1 * p.width);
  for (size_t i = first; i < last; ++i) sum[i % 3] += p.rgb[i];
  double count = last > first ? (last - first) / 3.0 : 1.0;
  return {sum[0] / count, sum[1] / count, sum[2] / count};
}

// Waits until the window shows the scene rather than black.
inline bool WaitForPicture(Session& s, Window w) {
  Picture p;
  return WaitUntil(10.0, 0.05, [&] { return MeanColour(p = Grab(s, w), 0, p.height).r > 5; });
}

// Over the top rows: the pixels whose colour differs by more than level in some channel;
// all of them when the sizes differ.
// With a slack, a pixel of b counts only when it differs from a's pixels that many rows
// above and below as well: a line that moves up or down by a row or two (the water's edge
// as it bobs) is not a change.
inline int Compare(const Picture& a, const Picture& b, int level = 255, int rows = 1 << 30, int slack = 0) {
  if (a.width != b.width || a.height != b.height || a.rgb.empty())
    return std::max(a.width * a.height, b.width * b.height);
  auto off = [&](size_t i, size_t j) { return std::abs(a.rgb[j] - b.rgb[i]) > level; };
  auto differs = [&](int x, int y) {
    for (int dy = -slack; dy <= slack; ++dy) {
      if (y + dy < 0 || y + dy >= a.height) continue;
      size_t i = 3 * (size_t(y) * a.width + x), j = 3 * (size_t(y + dy) * a.width + x);
      if (!(off(i, j) || off(i + 1, j + 1) || off(i + 2, j + 2))) return false;
    }
    return true;
  };
  int pixels = 0;
  for (int y = 0; y < std::min(a.height, rows); ++y)
    for (int x = 0; x < a.width; ++x) pixels += differs(x, y);
  return pixels;
}

// Appends the stereo frames of bare samples from a byte offset on, scaled to -1 to 1.
template <typename Sample>
void AppendFrames(Wave& wave, const std::string& bytes, size_t from, float fullScale) {
  for (Sample frame[2]; from + sizeof frame <= bytes.size(); from += sizeof frame) {
    std::memcpy(frame, &bytes[from], sizeof frame);
    wave.stereo.insert(wave.stereo.end(), {frame[0] / fullScale, frame[1] / fullScale});
  }
}

// The sound written so far (the header's sizes may not be filled in yet).
inline Wave ReadWave(const Session& s) {
  Wave wave;
  // Wine's mix through ALSA's file plugin: bare 32-bit floats, stereo, 48 kHz.
  if (const std::string raw = ReadFile(s.workDir + "/sound.raw"); !raw.empty())
    return wave.rate = 48000, AppendFrames<float>(wave, raw, 0, 1.0f), wave;
  // OpenAL Soft's: 16-bit stereo, as its settings ask; the sizes are filled in only when it closes.
  const std::string bytes = ReadFile(s.workDir + "/sound.wav");
  const size_t data = bytes.find("data", 12);
  if (bytes.size() < 44 || data == std::string::npos) return wave;
  std::memcpy(&wave.rate, &bytes[24], sizeof wave.rate);  // little-endian, as this machine
  AppendFrames<int16_t>(wave, bytes, data + 8, 32768.0f);
  return wave;
}

// How much of it has been written, in seconds.
inline double SoundSeconds(const Session& s) {
  Wave wave = ReadWave(s);
  return wave.rate ? wave.stereo.size() / 2.0 / wave.rate : 0.0;
}

// The level between two times, once the sound has been written that far.
inline double Level(const Session& s, double from, double to, Side side = Side::Both) {
  Wave wave;
  WaitUntil(60.0, 0.1, [&] { return (wave = ReadWave(s)).stereo.size() >= 2 * to * std::max(wave.rate, 1); });
  return Rms(wave.stereo, wave.rate, side, from, to);
}

// Zeroes the samples of a 16-bit wave file, so that other sounds can be measured.
inline void SilenceWave(const std::string& path) {
  std::string bytes = ReadFile(path);
  size_t data = bytes.find("data", 12);
  if (data != std::string::npos) std::fill(bytes.begin() + std::min(bytes.size(), data + 8), bytes.end(), '\0');
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
