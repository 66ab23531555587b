// The end-to-end helper: an Xvfb of the test's own, the program, keys, windows, pictures, sound.
#include <gtest/gtest.h>

#include "e2e/session.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Nap(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

bool WaitUntil(double seconds, const std::function<bool()>& condition, double step) {
  double deadline = Now() + seconds;
  while (!condition()) {
    if (Now() > deadline) return false;
    Nap(step);
  }
  return true;
}

std::string BinDirectory() {
  const char* bin = std::getenv("QUARNHOLT_BIN_DIR");
  return bin && *bin ? bin : QUARNHOLT_E2E_BIN_DIR;
}

namespace {
// Windows come and go while the test looks at them; a vanished one is no failure.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

bool StartServer(Session& s, int width, int height) {
  XSetErrorHandler(IgnoreXErrors);
  int fds[2];
  if (pipe(fds) != 0) return false;
  std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  s.server = fork();
  if (s.server == 0) {
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  // Xvfb writes its display number and a line break once it accepts clients.
  FILE* number = fdopen(fds[0], "r");
  bool told = std::fscanf(number, "%d", &s.displayNumber) == 1;
  std::fclose(number);
  if (!told) return false;
  s.display = XOpenDisplay((":" + std::to_string(s.displayNumber)).c_str());
  return s.display != nullptr;
}

// A folder of its own holding copies of the data files, and OpenAL Soft's settings.
std::string MakeWorkDir() {
  char name[] = "/tmp/quarnholt-e2e-XXXXXX";
  if (!mkdtemp(name)) return "";
  for (const char* file : {"heightmap.bmp", "image1.bmp", "water.bmp", "plant4.tga", "boom.tga", "ambient.wav",
                           "rain.wav", "wind.wav", "whistle.wav", "pop.wav"}) {
    std::error_code error;
    fs::copy_file(fs::path(BinDirectory()) / file, fs::path(name) / file, error);
  }
  std::ofstream(std::string(name) + "/alsoft.conf")
      << "[general]\nchannels = stereo\nsample-type = int16\nfrequency = 22050\nhrtf = false\n"
      << "[wave]\nfile = " << name << "/sound.wav\n";
  return name;
}
}  // namespace

bool StartProgram(Session& s, int width, int height, const std::function<void(const std::string& dir)>& prepare) {
  if (!StartServer(s, width, height) || (s.workDir = MakeWorkDir()).empty()) return false;
  if (prepare) prepare(s.workDir);
  std::string program = BinDirectory() + "/quarnholt", output = s.workDir + "/quarnholt-output.txt";
  s.program = fork();
  if (s.program == 0) {
    setpgid(0, 0);  // its own group, so that a stop also ends a message box's helper process
    if (chdir(s.workDir.c_str()) != 0) _exit(126);
    int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(out, 2);
    setenv("DISPLAY", (":" + std::to_string(s.displayNumber)).c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    setenv("ALSOFT_CONF", (s.workDir + "/alsoft.conf").c_str(), 1);
    execl(program.c_str(), "quarnholt", static_cast<char*>(nullptr));
    _exit(127);
  }
  return s.program > 0;
}

bool ProgramRunning(Session& s) {
  int status = 0;
  if (s.program <= 0) return false;
  if (waitpid(s.program, &status, WNOHANG) == 0) return true;
  s.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  s.program = -1;
  return false;
}

bool WaitForExit(Session& s, double seconds) {
  return WaitUntil(seconds, [&] { return !ProgramRunning(s); }, 0.01);
}

void StopSession(Session& s) {
  if (ProgramRunning(s)) {
    kill(-s.program, SIGKILL);
    waitpid(s.program, nullptr, 0);
  }
  if (s.display) XCloseDisplay(s.display);
  if (s.server > 0) {
    kill(s.server, SIGTERM);
    waitpid(s.server, nullptr, 0);
  }
  std::error_code error;
  if (s.workDir.rfind("/tmp/quarnholt-e2e-", 0) == 0) fs::remove_all(s.workDir, error);
  s = Session{};
}

std::string ProgramOutput(const Session& s) {
  std::stringstream text;
  text << std::ifstream(s.workDir + "/quarnholt-output.txt").rdbuf();
  return text.str();
}

void ExpectCleanEnd(Session& s, Window close, double limit) {
  double asked = Now();
  if (close) {
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = close;
    event.xclient.message_type = XInternAtom(s.display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(s.display, "WM_DELETE_WINDOW", False));
    XSendEvent(s.display, close, False, NoEventMask, &event);
    XSync(s.display, False);
  } else {
    PressKey(s, "q", true);
  }
  bool ended = WaitForExit(s, limit + 5.0);
  double took = Now() - asked;
  if (!close) PressKey(s, "q", false);
  ASSERT_TRUE(ended);
  EXPECT_LT(took, limit);
  std::string output = ProgramOutput(s);
  EXPECT_EQ(s.exitCode, 0) << output;
  EXPECT_EQ(output.find("Sanitizer"), std::string::npos) << output;
  EXPECT_EQ(output.find("runtime error:"), std::string::npos) << output;
}

std::vector<std::pair<Window, std::string>> TopWindows(Session& s) {
  std::vector<std::pair<Window, std::string>> found;
  Window root = DefaultRootWindow(s.display), parent, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(s.display, root, &root, &parent, &children, &count)) return found;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    XTextProperty name = {};
    if (!XGetWindowAttributes(s.display, children[i], &attributes) || attributes.map_state != IsViewable) continue;
    // Every title used here is plain ASCII, the same bytes in any of X's encodings.
    std::string title;
    if (XGetWMName(s.display, children[i], &name) && name.value)
      title.assign(reinterpret_cast<char*>(name.value), name.nitems);
    if (name.value) XFree(name.value);
    found.emplace_back(children[i], title);
  }
  if (children) XFree(children);
  return found;
}

namespace {
Window FindWindowWhere(Session& s, double seconds, const std::function<bool(const std::string&)>& wanted) {
  Window found = 0;
  WaitUntil(seconds, [&] {
    for (const auto& [window, title] : TopWindows(s))
      if (!found && wanted(title)) found = window;
    return found != 0 || !ProgramRunning(s);
  }, 0.05);
  return found;
}
}  // namespace

Window FindWindow(Session& s, const std::string& prefix, double seconds) {
  return FindWindowWhere(s, seconds, [&](const std::string& title) { return title.rfind(prefix, 0) == 0; });
}

Window FindMainWindow(Session& s, double seconds) {
  return FindWindowWhere(s, seconds, [](const std::string& t) { return t == "OpenGl Window" || TitleFrames(t) >= 0; });
}

int TitleFrames(const std::string& title) {
  int frames = -1;
  char tail[8] = {};
  if (std::sscanf(title.c_str(), "Quarnholt %d %7s", &frames, tail) == 2 && std::strcmp(tail, "fps") == 0)
    return frames;
  return -1;
}

int WaitForFrameCount(Session& s, Window w, double seconds) {
  int frames = -1;
  WaitUntil(seconds, [&] {
    for (const auto& [window, title] : TopWindows(s))
      if (window == w) frames = TitleFrames(title);
    return frames >= 0 || !ProgramRunning(s);
  });
  return frames;
}

void WindowGeometry(Session& s, Window w, int* x, int* y, int* width, int* height) {
  XWindowAttributes attributes = {};
  XGetWindowAttributes(s.display, w, &attributes);
  Window child;
  XTranslateCoordinates(s.display, w, DefaultRootWindow(s.display), 0, 0, x, y, &child);
  *width = attributes.width;
  *height = attributes.height;
}

void PressKey(Session& s, const char* keysym, bool down) {
  XTestFakeKeyEvent(s.display, XKeysymToKeycode(s.display, XStringToKeysym(keysym)), down, CurrentTime);
  XSync(s.display, False);
}

void TapKey(Session& s, Window w, const char* keysym) {
  XSetInputFocus(s.display, w, RevertToPointerRoot, CurrentTime);
  PressKey(s, keysym, true);
  Nap(0.05);
  PressKey(s, keysym, false);
}

bool AnswerStartQuestion(Session& s, bool fullScreen) {
  Window box = FindWindow(s, "Fullscreen?", 20.0);
  if (box) TapKey(s, box, fullScreen ? "Return" : "Escape");
  return box != 0;
}

void MoveMouse(Session& s, int dx, int dy) {
  XTestFakeRelativeMotionEvent(s.display, dx, dy, CurrentTime);
  XSync(s.display, False);
}

Picture Grab(Session& s, Window w) {
  Picture picture;
  XWindowAttributes attributes = {};
  if (!XGetWindowAttributes(s.display, w, &attributes)) return picture;
  XImage* image = XGetImage(s.display, w, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  if (!image) return picture;
  picture.width = image->width;
  picture.height = image->height;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      picture.pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
  XDestroyImage(image);
  return picture;
}

bool WaitForPicture(Session& s, Window w) {
  Picture p;
  return WaitUntil(10.0, [&] { return MeanColour(p = Grab(s, w), 0, p.height).r > 5; }, 0.05);
}

Colour MeanColour(const Picture& p, int y0, int y1) {
  Colour sum;
  size_t first = static_cast<size_t>(y0) * p.width, last = std::min(p.pixels.size(), static_cast<size_t>(y1) * p.width);
  for (size_t i = first; i < last; ++i) {
    sum.r += (p.pixels[i] >> 16) & 0xFF;
    sum.g += (p.pixels[i] >> 8) & 0xFF;
    sum.b += p.pixels[i] & 0xFF;
  }
  double count = last > first ? static_cast<double>(last - first) : 1.0;
  return {sum.r / count, sum.g / count, sum.b / count};
}

namespace {
int ChannelDifference(uint32_t a, uint32_t b, int shift) {
  return std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
}
}  // namespace

double PictureDifference(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 255.0;
  double total = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    for (int shift = 0; shift < 24; shift += 8) total += ChannelDifference(a.pixels[i], b.pixels[i], shift);
  return total / (3.0 * a.pixels.size());
}

int ChangedPixels(const Picture& a, const Picture& b, int level, int rows) {
  if (a.width != b.width || a.height != b.height) return static_cast<int>(std::max(a.pixels.size(), b.pixels.size()));
  size_t last = std::min(a.pixels.size(), static_cast<size_t>(rows) * a.width);
  int count = 0;
  for (size_t i = 0; i < last; ++i)
    for (int shift = 0; shift < 24; shift += 8)
      if (ChannelDifference(a.pixels[i], b.pixels[i], shift) > level) {
        ++count;
        break;
      }
  return count;
}

Picture WaitForChange(Session& s, Window w, const Picture& reference, double threshold, double seconds) {
  Picture now;
  WaitUntil(seconds, [&] { return PictureDifference(reference, now = Grab(s, w)) > threshold; }, 0.1);
  return now;
}

namespace {
uint32_t Little(const unsigned char* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}
}  // namespace

Wave ReadWave(const Session& s) {
  std::ifstream in(s.workDir + "/sound.wav", std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Wave wave;
  if (bytes.size() < 36 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return wave;
  // The settings ask for stereo 16-bit; the writer fills in the data size only when it closes.
  const int channels = static_cast<int>(Little(&bytes[22], 2)), bits = static_cast<int>(Little(&bytes[34], 2));
  for (size_t at = 12; at + 8 <= bytes.size(); at += 8 + Little(&bytes[at + 4], 4)) {
    if (std::memcmp(&bytes[at], "data", 4) != 0) continue;
    if (channels != 2 || bits != 16) return wave;
    wave.rate = static_cast<int>(Little(&bytes[24], 4));
    for (size_t f = at + 8; f + 4 <= bytes.size(); f += 4) {
      wave.left.push_back(static_cast<int16_t>(Little(&bytes[f], 2)) / 32768.0f);
      wave.right.push_back(static_cast<int16_t>(Little(&bytes[f + 2], 2)) / 32768.0f);
    }
    break;
  }
  return wave;
}

double Rms(const Wave& w, Channel channel, double from, double to) {
  size_t first = static_cast<size_t>(std::max(0.0, from) * w.rate);
  size_t last = std::min(w.left.size(), static_cast<size_t>(std::max(0.0, to) * w.rate));
  double sum = 0, count = 0;
  for (size_t i = first; i < last; ++i) {
    if (channel != Channel::Right) sum += static_cast<double>(w.left[i]) * w.left[i], ++count;
    if (channel != Channel::Left) sum += static_cast<double>(w.right[i]) * w.right[i], ++count;
  }
  return count ? std::sqrt(sum / count) : 0.0;
}

void WriteSilentWave(const std::string& path) {
  const uint32_t rate = 22050, bytes = rate * 2;  // a second of mono 16-bit
  std::ofstream out(path, std::ios::binary);
  for (uint32_t field : {0x46464952u, 36 + bytes, 0x45564157u, 0x20746d66u, 16u, 0x00010001u, rate, rate * 2,
                         0x00100002u, 0x61746164u, bytes})  // "RIFF", "WAVE", "fmt ", "data" and the PCM format
    for (int i = 0; i < 4; ++i) out.put(static_cast<char>((field >> (8 * i)) & 0xFF));
  out << std::string(bytes, '\0');
}
