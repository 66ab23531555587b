// The window layer over Win32 and WGL: one window class, one window with its device
// context held for the run, an OpenGL context, the display mode and the message queue.
#include "platform/windows/windows_first.h"

#include <csignal>
#include <deque>

#include "platform/window.h"
#include "platform/windows/main_window.h"

namespace {
const char* const ClassName = "WindowClass";
const int FullScreenWidth = 1024;  // pixels
const int FullScreenHeight = 768;  // pixels
const int FullScreenBits = 32;     // bits per pixel
const int WindowedLeft = 200;      // pixels
const int WindowedTop = 200;       // pixels
const int WindowedSize = 400;      // pixels, the outer size with the frame

HINSTANCE instance = nullptr;
bool started = false;
HWND window = nullptr;
HDC deviceContext = nullptr;
HGLRC context = nullptr;
bool fullScreenWindow = false;
bool modeSwitched = false;       // the display runs in the mode we switched it to
std::deque<WindowMessage> seen;  // what the window procedure saw, oldest first
volatile LONG consoleQuit = 0;   // set by the console's control thread (Ctrl+C)

// The messages the program acts on are kept for PollWindowMessage; a close request does
// not destroy the window, the main loop ends the program.
LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      seen.push_back({WindowMessage::Resized, LOWORD(lParam), HIWORD(lParam)});
      return 0;
    case WM_CLOSE:
      seen.push_back({WindowMessage::CloseRequest, 0, 0});
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      break;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Ctrl+C, Ctrl+Break or the console closing end the program as SIGINT does on Linux.
BOOL WINAPI OnConsoleControl(DWORD) {
  InterlockedExchange(&consoleQuit, 1);
  return TRUE;
}

// A crash leaves the display as the program found it.
LONG WINAPI OnCrash(EXCEPTION_POINTERS*) {
  RestoreDisplayMode();
  return EXCEPTION_CONTINUE_SEARCH;
}

// So does an abort (an exception that nothing caught ends in one): the display switches
// before loading, so loading's faults must not leave it switched.
void OnAbort(int) { RestoreDisplayMode(); }

// RGBA, 32-bit colour, 16-bit depth, double buffered; the system's first format where
// it refuses the closest one to that. False when the asked-for format was refused.
bool SetUpPixelFormat() {
  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 32;
  format.cDepthBits = 16;
  format.iLayerType = PFD_MAIN_PLANE;
  int chosen = ChoosePixelFormat(deviceContext, &format);
  if (chosen != 0 && SetPixelFormat(deviceContext, chosen, &format)) return true;
  PIXELFORMATDESCRIPTOR first = {};
  DescribePixelFormat(deviceContext, 1, sizeof first, &first);
  SetPixelFormat(deviceContext, 1, &first);
  return false;
}

HWND MakeWindow(const char* title, DWORD style, int left, int top, int width, int height) {
  return CreateWindowExA(0, ClassName, title, style, left, top, width, height, nullptr, nullptr, instance, nullptr);
}

bool IsFullScreenMode(const DEVMODEA& mode) {
  return mode.dmPelsWidth == FullScreenWidth && mode.dmPelsHeight == FullScreenHeight &&
         mode.dmBitsPerPel == FullScreenBits;
}

bool FullScreenModeListed() {
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i)
    if (IsFullScreenMode(mode)) return true;
  return false;
}

// The current mode with 1024 x 768 pixels of 32 bits, for full-screen use.
bool SwitchDisplayMode() {
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
  mode.dmPelsWidth = FullScreenWidth;
  mode.dmPelsHeight = FullScreenHeight;
  mode.dmBitsPerPel = FullScreenBits;
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  modeSwitched = ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
  return modeSwitched;
}

// Turns the main window, hidden, into the resizable 400 x 400 window at (200, 200).
void MakeWindowed() {
  ShowWindow(window, SW_HIDE);
  SetWindowLongPtrA(window, GWL_STYLE, WS_OVERLAPPEDWINDOW);
  SetWindowPos(window, nullptr, WindowedLeft, WindowedTop, WindowedSize, WindowedSize,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  fullScreenWindow = false;
}
}  // namespace

HWND MainWindowHandle() { return window; }

bool StartWindowSystem() {
  if (started) return true;
  instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;  // own DC: it is held for the run
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = ClassName;
  started = RegisterClassExA(&windowClass) != 0;
  if (!started) return false;
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  SetUnhandledExceptionFilter(OnCrash);
  std::signal(SIGABRT, OnAbort);
  return true;
}

void StopWindowSystem() {
  if (!started) return;
  DestroyMainWindow();
  RestoreDisplayMode();
  UnregisterClassA(ClassName, instance);
  SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  started = false;
}

// The display switches before there is a window: the loading boxes that follow, and the
// window made after them, already meet the full-screen mode.
bool SwitchToFullScreenMode() { return started && FullScreenModeListed() && (modeSwitched || SwitchDisplayMode()); }

WindowCreation CreateMainWindow(bool fullScreen, const char* title) {
  if (!started) return WindowCreation::Failed;
  window = fullScreen ? MakeWindow(title, WS_POPUP, 0, 0, FullScreenWidth, FullScreenHeight)
                      : MakeWindow(title, WS_OVERLAPPEDWINDOW, WindowedLeft, WindowedTop, WindowedSize, WindowedSize);
  if (!window) return WindowCreation::Failed;
  deviceContext = GetDC(window);
  fullScreenWindow = fullScreen;
  return SetUpPixelFormat() ? WindowCreation::Created : WindowCreation::CreatedWithDefaultPixelFormat;
}

bool CreateHiddenWindow(int width, int height) {
  if (!StartWindowSystem()) return false;
  window = MakeWindow("Quarnholt", WS_POPUP, 0, 0, width, height);
  if (!window) return false;
  deviceContext = GetDC(window);
  SetUpPixelFormat();
  return CreateRenderingContext();
}

void DestroyMainWindow() {
  DeleteRenderingContext();
  if (window) {
    ReleaseDC(window, deviceContext);
    DestroyWindow(window);
  }
  window = nullptr;
  deviceContext = nullptr;
  fullScreenWindow = false;
  seen.clear();
}

bool CreateRenderingContext() {
  if (!deviceContext) return false;
  context = wglCreateContext(deviceContext);
  if (!context) return false;
  wglMakeCurrent(deviceContext, context);
  // Frames as fast as they come, where the driver lets the program choose.
  using SwapInterval = BOOL(WINAPI*)(int);
  auto setSwapInterval =
      reinterpret_cast<SwapInterval>(reinterpret_cast<void (*)()>(wglGetProcAddress("wglSwapIntervalEXT")));
  if (setSwapInterval) setSwapInterval(0);
  return true;
}

void DeleteRenderingContext() {
  if (!context) return;
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(context);
  context = nullptr;
}

bool ShowMainWindow() {
  if (!window) return false;
  if (fullScreenWindow && !modeSwitched && !SwitchDisplayMode()) {
    MakeWindowed();
    return false;
  }
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  return true;
}

void GetDrawableSize(int* width, int* height) {
  RECT client = {};
  if (window) GetClientRect(window, &client);
  *width = client.right - client.left;
  *height = client.bottom - client.top;
}

void SetMainWindowTitle(const char* title) {
  if (window) SetWindowTextA(window, title);
}

// The system counts hides and shows: the cursor shows while the count is 0 or more.
void ShowSystemCursor(bool shown) {
  if (!started) return;
  if (shown)
    while (ShowCursor(TRUE) < 0) {
    }
  else
    while (ShowCursor(FALSE) >= 0) {
    }
}

void RestoreDisplayMode() {
  if (modeSwitched) ChangeDisplaySettingsA(nullptr, 0);
  modeSwitched = false;
  if (window && fullScreenWindow) ShowWindow(window, SW_HIDE);
  fullScreenWindow = false;
}

void PresentFrame() {
  if (deviceContext && context) SwapBuffers(deviceContext);
}

// A removed message is translated and dispatched at once: what the window procedure
// makes of it (and of messages sent straight to it) comes back one a call.
bool PollWindowMessage(WindowMessage* message) {
  *message = {WindowMessage::Other, 0, 0};
  if (InterlockedExchange(&consoleQuit, 0)) {
    message->kind = WindowMessage::Quit;
    PostQuitMessage(0);
    return true;
  }
  MSG queued;
  bool removed = seen.empty() && PeekMessageA(&queued, nullptr, 0, 0, PM_REMOVE);
  if (removed && queued.message == WM_QUIT) {
    message->kind = WindowMessage::Quit;
    PostQuitMessage(static_cast<int>(queued.wParam));
    return true;
  }
  if (removed) {
    TranslateMessage(&queued);
    DispatchMessageA(&queued);
  }
  if (seen.empty()) return removed;
  *message = seen.front();
  seen.pop_front();
  return true;
}
