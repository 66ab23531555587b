// The end-to-end helper: an Xvfb of the test's own, the program, keys, windows, pictures.
#include "e2e/session.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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

bool StartProgram(Session& s, const std::string& workDir, const std::vector<std::string>& env) {
  const char* bin = std::getenv("QUARNHOLT_BIN_DIR");
  std::string program = std::string(bin ? bin : "../bin") + "/quarnholt";
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
