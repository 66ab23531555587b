// The end-to-end helper: an Xvfb of the test's own, the program, keys, windows, pictures.
#include "e2e/session.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

double Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void Nap(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

namespace {
// Windows come and go while the test looks at them; a vanished one is no failure.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }
}  // namespace

bool StartServer(Session& s, int width, int height) {
  XSetErrorHandler(IgnoreXErrors);
  int fds[2];
  if (pipe(fds) != 0) return false;
  std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  s.server = fork();
  if (s.server == 0) {
    close(fds[0]);
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
  char buffer[32] = {};
  size_t got = 0;
  while (got < sizeof buffer - 1 && !std::strchr(buffer, '\n')) {
    ssize_t n = read(fds[0], buffer + got, sizeof buffer - 1 - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(fds[0]);
  if (got == 0) return false;
  s.displayNumber = std::atoi(buffer);
  std::string name = ":" + std::to_string(s.displayNumber);
  s.display = XOpenDisplay(name.c_str());
  return s.display != nullptr;
}

std::string BinDirectory() {
  const char* bin = std::getenv("QUARNHOLT_BIN_DIR");
  return bin && *bin ? bin : QUARNHOLT_E2E_BIN_DIR;
}

bool StartProgram(Session& s, const std::string& workDir, const std::vector<std::string>& env) {
  std::string program = BinDirectory() + "/quarnholt";
  s.workDir = workDir;
  s.output = workDir + "/quarnholt-output.txt";
  s.program = fork();
  if (s.program == 0) {
    setpgid(0, 0);  // its own group, so that a stop also ends a message box's helper process
    if (chdir(workDir.c_str()) != 0) _exit(126);
    int out = open(s.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(out, 2);
    std::string display = ":" + std::to_string(s.displayNumber);
    setenv("DISPLAY", display.c_str(), 1);
    for (const std::string& entry : env) putenv(strdup(entry.c_str()));
    execl(program.c_str(), "quarnholt", static_cast<char*>(nullptr));
    _exit(127);
  }
  return s.program > 0;
}

bool ProgramRunning(Session& s) {
  if (s.program <= 0) return false;
  int status = 0;
  pid_t done = waitpid(s.program, &status, WNOHANG);
  if (done == 0) return true;
  s.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  s.program = -1;
  return false;
}

bool WaitForExit(Session& s, double seconds) {
  double deadline = Now() + seconds;
  while (ProgramRunning(s)) {
    if (Now() > deadline) return false;
    Nap(0.01);
  }
  return true;
}

void StopSession(Session& s) {
  if (ProgramRunning(s)) {
    kill(-s.program, SIGKILL);
    waitpid(s.program, nullptr, 0);
    s.program = -1;
  }
  if (s.display) XCloseDisplay(s.display);
  s.display = nullptr;
  if (s.server > 0) {
    kill(s.server, SIGTERM);
    waitpid(s.server, nullptr, 0);
    s.server = -1;
  }
  if (s.ownWorkDir) RemoveWorkDir(s.workDir);
  s.ownWorkDir = false;
}

std::string WindowName(Session& s, Window w) {
  // SDL names its windows in _NET_WM_NAME (UTF-8); older clients only in WM_NAME.
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* text = nullptr;
  Atom netName = XInternAtom(s.display, "_NET_WM_NAME", False);
  Atom utf8 = XInternAtom(s.display, "UTF8_STRING", False);
  if (XGetWindowProperty(s.display, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &text) ==
          Success &&
      text) {
    std::string result(reinterpret_cast<char*>(text), count);
    XFree(text);
    if (!result.empty()) return result;
  }
  char* name = nullptr;
  std::string result;
  if (XFetchName(s.display, w, &name) && name) result = name;
  if (name) XFree(name);
  return result;
}

Window FindWindow(Session& s, const std::string& prefix, double seconds) {
  double deadline = Now() + seconds;
  do {
    Window root = DefaultRootWindow(s.display), parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(s.display, root, &root, &parent, &children, &count)) {
      for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(s.display, children[i], &attributes)) continue;
        if (attributes.map_state != IsViewable) continue;
        if (WindowName(s, children[i]).rfind(prefix, 0) == 0) found = children[i];
      }
      if (children) XFree(children);
    }
    if (found) return found;
    Nap();
  } while (Now() < deadline && ProgramRunning(s));
  return 0;
}

void PressKey(Session& s, const char* keysym, bool down) {
  KeyCode code = XKeysymToKeycode(s.display, XStringToKeysym(keysym));
  XTestFakeKeyEvent(s.display, code, down ? True : False, CurrentTime);
  XSync(s.display, False);
}

void TapKey(Session& s, Window w, const char* keysym) {
  XSetInputFocus(s.display, w, RevertToPointerRoot, CurrentTime);
  XSync(s.display, False);
  PressKey(s, keysym, true);
  Nap(0.05);
  PressKey(s, keysym, false);
}

bool AnswerStartQuestion(Session& s, bool fullScreen) {
  Window box = FindWindow(s, "Fullscreen?", 20.0);
  if (!box) return false;
  TapKey(s, box, fullScreen ? "Return" : "Escape");
  return true;
}

void RequestClose(Session& s, Window w) {
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = w;
  event.xclient.message_type = XInternAtom(s.display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(s.display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(s.display, w, False, NoEventMask, &event);
  XSync(s.display, False);
}

void WindowGeometry(Session& s, Window w, int* x, int* y, int* width, int* height) {
  XWindowAttributes attributes = {};
  XGetWindowAttributes(s.display, w, &attributes);
  Window child;
  XTranslateCoordinates(s.display, w, DefaultRootWindow(s.display), 0, 0, x, y, &child);
  *width = attributes.width;
  *height = attributes.height;
}

Picture Grab(Session& s, Window w) {
  Picture picture;
  XWindowAttributes attributes = {};
  if (!XGetWindowAttributes(s.display, w, &attributes)) return picture;
  XImage* image = XGetImage(s.display, w, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  if (!image) return picture;
  picture.width = image->width;
  picture.height = image->height;
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      picture.pixels[static_cast<size_t>(y) * picture.width + x] =
          static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF;
  XDestroyImage(image);
  return picture;
}

std::string ProgramOutput(const Session& s) {
  std::ifstream in(s.output);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool WaitUntil(double seconds, const std::function<bool()>& condition, double step) {
  double deadline = Now() + seconds;
  while (!condition()) {
    if (Now() > deadline) return false;
    Nap(step);
  }
  return true;
}

void MoveMouse(Session& s, int dx, int dy) {
  XTestFakeRelativeMotionEvent(s.display, dx, dy, CurrentTime);
  XSync(s.display, False);
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
  WaitUntil(seconds, [&] { return (frames = TitleFrames(WindowName(s, w))) >= 0 || !ProgramRunning(s); });
  return frames;
}

Colour MeanColour(const Picture& p, int x0, int y0, int x1, int y1) {
  Colour sum;
  long count = 0;
  for (int y = std::max(y0, 0); y < std::min(y1, p.height); ++y)
    for (int x = std::max(x0, 0); x < std::min(x1, p.width); ++x) {
      uint32_t c = p.At(x, y);
      sum.r += (c >> 16) & 0xFF;
      sum.g += (c >> 8) & 0xFF;
      sum.b += c & 0xFF;
      ++count;
    }
  if (count) sum = {sum.r / count, sum.g / count, sum.b / count};
  return sum;
}

double PictureDifference(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 255.0;
  double total = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    for (int shift = 0; shift < 24; shift += 8)
      total += std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) - static_cast<int>((b.pixels[i] >> shift) & 0xFF));
  return total / (3.0 * a.pixels.size());
}

Picture WaitForChange(Session& s, Window w, const Picture& reference, double threshold, double seconds) {
  Picture now;
  WaitUntil(seconds, [&] {
    now = Grab(s, w);
    return PictureDifference(reference, now) > threshold;
  }, 0.1);
  return now;
}

std::string MakeWorkDir() {
  namespace fs = std::filesystem;
  char name[] = "/tmp/quarnholt-e2e-XXXXXX";
  if (!mkdtemp(name)) return "";
  for (const char* file : {"heightmap.bmp", "image1.bmp", "water.bmp", "plant4.tga", "boom.tga", "ambient.wav",
                           "rain.wav", "wind.wav", "whistle.wav", "pop.wav"}) {
    std::error_code error;
    fs::copy_file(fs::path(BinDirectory()) / file, fs::path(name) / file, error);
  }
  return name;
}

void RemoveWorkDir(const std::string& dir) {
  std::error_code error;
  if (dir.rfind("/tmp/quarnholt-e2e-", 0) == 0) std::filesystem::remove_all(dir, error);
}

std::vector<std::string> WaveOutputEnv(const std::string& workDir) {
  std::string config = workDir + "/alsoft.conf";
  std::ofstream out(config);
  out << "[general]\nchannels = stereo\nsample-type = int16\nfrequency = 22050\nhrtf = false\n"
      << "[wave]\nfile = " << workDir << "/sound.wav\n";
  return {"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + config};
}

std::string WaveOutputPath(const Session& s) { return s.workDir + "/sound.wav"; }

namespace {
uint32_t Little(const unsigned char* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}
}  // namespace

Wave ReadWave(const std::string& path) {
  Wave wave;
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::vector<unsigned char> bytes(in ? static_cast<size_t>(in.tellg()) : 0);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return wave;
  int channels = 0, bits = 0;
  bool isFloat = false;
  size_t at = 12;
  while (at + 8 <= bytes.size()) {
    uint32_t size = Little(&bytes[at + 4], 4);
    const unsigned char* body = &bytes[at + 8];
    if (std::memcmp(&bytes[at], "fmt ", 4) == 0 && at + 8 + 16 <= bytes.size()) {
      uint32_t tag = Little(body, 2);
      channels = static_cast<int>(Little(body + 2, 2));
      wave.rate = static_cast<int>(Little(body + 4, 4));
      bits = static_cast<int>(Little(body + 14, 2));
      if (tag == 0xFFFE && at + 8 + 26 <= bytes.size()) tag = Little(body + 24, 2);
      isFloat = tag == 3;
    } else if (std::memcmp(&bytes[at], "data", 4) == 0) {
      // The writer fills in the data size only when it closes: read to the end.
      size_t frameBytes = static_cast<size_t>(channels) * (bits / 8);
      if (frameBytes == 0 || (bits != 16 && !(bits == 32 && isFloat))) return Wave{};
      size_t frames = (bytes.size() - at - 8) / frameBytes;
      wave.left.reserve(frames);
      wave.right.reserve(frames);
      for (size_t f = 0; f < frames; ++f) {
        float sample[2] = {};
        for (int c = 0; c < std::min(channels, 2); ++c) {
          const unsigned char* p = body + f * frameBytes + c * (bits / 8);
          if (bits == 16) {
            sample[c] = static_cast<int16_t>(Little(p, 2)) / 32768.0f;
          } else {
            uint32_t raw = Little(p, 4);
            std::memcpy(&sample[c], &raw, 4);
          }
        }
        wave.left.push_back(sample[0]);
        wave.right.push_back(channels > 1 ? sample[1] : sample[0]);
      }
      return wave;
    }
    at += 8 + size + (size & 1);
  }
  return Wave{};
}

double Rms(const Wave& w, Channel channel, double from, double to) {
  if (!w.rate) return 0.0;
  size_t first = static_cast<size_t>(std::max(0.0, from) * w.rate);
  size_t last = std::min(w.left.size(), static_cast<size_t>(std::max(0.0, to) * w.rate));
  double sum = 0;
  size_t count = 0;
  for (size_t i = first; i < last; ++i) {
    if (channel != Channel::Right) sum += static_cast<double>(w.left[i]) * w.left[i], ++count;
    if (channel != Channel::Left) sum += static_cast<double>(w.right[i]) * w.right[i], ++count;
  }
  return count ? std::sqrt(sum / count) : 0.0;
}

Window StartScene(Session& s, bool fullScreen, int width, int height,
                  const std::function<void(const std::string& workDir)>& prepare) {
  if (!StartServer(s, width, height)) return 0;
  std::string dir = MakeWorkDir();
  if (dir.empty()) return 0;
  if (prepare) prepare(dir);
  if (!StartProgram(s, dir, WaveOutputEnv(dir))) return 0;
  s.ownWorkDir = true;
  if (!AnswerStartQuestion(s, fullScreen)) return 0;
  return FindMainWindow(s, 60.0);
}

Window FindMainWindow(Session& s, double seconds) {
  Window w = 0;
  WaitUntil(seconds, [&] {
    w = FindWindow(s, "OpenGl Window", 0.0);
    if (!w) w = FindWindow(s, "Quarnholt", 0.0);
    return w != 0 || !ProgramRunning(s);
  }, 0.05);
  return w;
}

void WriteSilentWave(const std::string& path) {
  const uint32_t rate = 22050, bytes = rate * 2;
  std::ofstream out(path, std::ios::binary);
  auto put = [&](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  out << "RIFF";
  put(36 + bytes, 4);
  out << "WAVEfmt ";
  put(16, 4), put(1, 2), put(1, 2), put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2);
  out << "data";
  put(bytes, 4);
  for (uint32_t i = 0; i < bytes; ++i) out.put(0);
}

int ChangedPixels(const Picture& a, const Picture& b, int level) {
  if (a.width != b.width || a.height != b.height) return static_cast<int>(std::max(a.pixels.size(), b.pixels.size()));
  int count = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    for (int shift = 0; shift < 24; shift += 8)
      if (std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) - static_cast<int>((b.pixels[i] >> shift) & 0xFF)) > level) {
        ++count;
        break;
      }
  return count;
}

std::vector<std::pair<Window, std::string>> TopWindows(Session& s) {
  std::vector<std::pair<Window, std::string>> found;
  Window root = DefaultRootWindow(s.display), parent, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(s.display, root, &root, &parent, &children, &count)) return found;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(s.display, children[i], &attributes) || attributes.map_state != IsViewable) continue;
    found.emplace_back(children[i], WindowName(s, children[i]));
  }
  if (children) XFree(children);
  return found;
}

bool OutputHasSanitizerReport(const Session& s) {
  std::string text = ProgramOutput(s);
  return text.find("Sanitizer") != std::string::npos || text.find("runtime error:") != std::string::npos;
}
