// The window layer over SDL2: one window with an OpenGL compatibility context.
#include "platform/window.h"

#include <SDL.h>
#include <SDL_log.h>

namespace {
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
bool fullScreenWindow = false;
bool started = false;

const int FullScreenWidth = 1024;  // pixels
const int FullScreenHeight = 768;  // pixels
const int WindowedLeft = 200;      // pixels
const int WindowedTop = 200;       // pixels
const int WindowedSize = 400;      // pixels

// Events the program never reads are dropped, so that the one-message-a-pass queue
// never falls behind; SDL still keeps its keyboard and mouse state up to date.
void IgnoreUnusedEvents() {
  const Uint32 unused[] = {SDL_KEYDOWN,     SDL_KEYUP,           SDL_TEXTINPUT,     SDL_TEXTEDITING,
                           SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_MOUSEWHEEL,
                           SDL_FINGERDOWN,  SDL_FINGERUP,        SDL_FINGERMOTION,  SDL_KEYMAPCHANGED};
  for (Uint32 type : unused) SDL_EventState(type, SDL_IGNORE);
}

// 32-bit colour is 8 bits each of red, green and blue, and no alpha bits: where the
// buffer size counts alpha (EGL), asking 32 bits for it would ask 8 bits of alpha.
void RequestPixelFormat() {
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

bool FindFullScreenMode(SDL_DisplayMode* found) {
  int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
    if (mode.w == FullScreenWidth && mode.h == FullScreenHeight && SDL_BYTESPERPIXEL(mode.format) == 4) {
      *found = mode;
      return true;
    }
  }
  return false;
}

// Whether the display the window is on runs in the 1024 x 768 mode.
bool InFullScreenMode() {
  SDL_DisplayMode current;
  int display = SDL_GetWindowDisplayIndex(window);
  return display >= 0 && SDL_GetCurrentDisplayMode(display, &current) == 0 && current.w == FullScreenWidth &&
         current.h == FullScreenHeight;
}

// Turns the main window, hidden, into the resizable 400 x 400 window at (200, 200).
void MakeWindowed() {
  SDL_SetWindowFullscreen(window, 0);
  SDL_HideWindow(window);
  SDL_SetWindowBordered(window, SDL_TRUE);
  SDL_SetWindowResizable(window, SDL_TRUE);
  SDL_SetWindowSize(window, WindowedSize, WindowedSize);
  SDL_SetWindowPosition(window, WindowedLeft, WindowedTop);
  fullScreenWindow = false;
}

// SDL falls back on drivers that draw to no screen at all; with those there is no display.
bool ShowsWindowsToAPerson() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && SDL_strcmp(driver, "offscreen") != 0 && SDL_strcmp(driver, "dummy") != 0;
}

SDL_Window* MakeWindow(bool fullScreen, const char* title) {
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
  if (fullScreen)
    return SDL_CreateWindow(title, 0, 0, FullScreenWidth, FullScreenHeight,
                            flags | SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN);
  return SDL_CreateWindow(title, WindowedLeft, WindowedTop, WindowedSize, WindowedSize, flags | SDL_WINDOW_RESIZABLE);
}
// One try at the video system; false when it is missing or draws to no screen.
bool TryStartingVideo() {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    SDL_Log("No window system: %s", SDL_GetError());
    return false;
  }
  if (ShowsWindowsToAPerson()) return true;
  SDL_Quit();
  return false;
}
}  // namespace

bool StartWindowSystem() {
  if (started) return true;
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // A display that is named but busy can refuse a first connection: a few more tries.
  bool displayNamed = SDL_getenv("DISPLAY") || SDL_getenv("WAYLAND_DISPLAY");
  int tries = displayNamed ? 5 : 1;
  for (int i = 0; i < tries && !started; ++i) {
    if (i > 0) SDL_Delay(200);
    started = TryStartingVideo();
  }
  if (started) IgnoreUnusedEvents();
  return started;
}

void StopWindowSystem() {
  if (!started) return;
  DestroyMainWindow();
  SDL_Quit();
  started = false;
}

// SDL switches the mode of a window's display only: here the mode is looked for.
bool SwitchToFullScreenMode() {
  SDL_DisplayMode mode;
  return started && FindFullScreenMode(&mode);
}

WindowCreation CreateMainWindow(bool fullScreen, const char* title) {
  if (!started) return WindowCreation::Failed;
  RequestPixelFormat();
  window = MakeWindow(fullScreen, title);
  // A first failure may be the display's of the moment; the format counts as refused
  // only when a second try fails too and the system's default format then makes a window.
  if (!window) window = MakeWindow(fullScreen, title);
  WindowCreation result = WindowCreation::Created;
  if (!window) {
    SDL_GL_ResetAttributes();
    window = MakeWindow(fullScreen, title);
    result = WindowCreation::CreatedWithDefaultPixelFormat;
  }
  if (!window) return WindowCreation::Failed;
  fullScreenWindow = fullScreen;
  if (fullScreen) {
    SDL_DisplayMode mode;
    if (FindFullScreenMode(&mode)) SDL_SetWindowDisplayMode(window, &mode);
  }
  return result;
}

bool CreateHiddenWindow(int width, int height) {
  if (!StartWindowSystem()) return false;
  RequestPixelFormat();
  window = SDL_CreateWindow("Quarnholt", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) return false;
  return CreateRenderingContext();
}

void DestroyMainWindow() {
  DeleteRenderingContext();
  if (window) SDL_DestroyWindow(window);
  window = nullptr;
  fullScreenWindow = false;
}

bool CreateRenderingContext() {
  if (!window) return false;
  context = SDL_GL_CreateContext(window);
  if (!context) return false;
  SDL_GL_MakeCurrent(window, context);
  SDL_GL_SetSwapInterval(0);  // frames as fast as they come
  return true;
}

void DeleteRenderingContext() {
  if (!context) return;
  SDL_GL_MakeCurrent(window, nullptr);
  SDL_GL_DeleteContext(context);
  context = nullptr;
}

bool ShowMainWindow() {
  if (!window) return false;
  SDL_ShowWindow(window);
  if (!fullScreenWindow) return true;
  SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN);
  if (InFullScreenMode()) return true;
  MakeWindowed();
  return false;
}

void GetDrawableSize(int* width, int* height) {
  *width = 0;
  *height = 0;
  if (window) SDL_GL_GetDrawableSize(window, width, height);
}

void SetMainWindowTitle(const char* title) {
  if (window) SDL_SetWindowTitle(window, title);
}

void ShowSystemCursor(bool shown) {
  if (started) SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

void RestoreDisplayMode() {
  if (window && fullScreenWindow) {
    SDL_SetWindowFullscreen(window, 0);
    SDL_HideWindow(window);
  }
  fullScreenWindow = false;
}

void PresentFrame() {
  if (window && context) SDL_GL_SwapWindow(window);
}

bool PollWindowMessage(WindowMessage* message) {
  SDL_Event event;
  if (!SDL_PollEvent(&event)) return false;
  message->kind = WindowMessage::Other;
  message->width = 0;
  message->height = 0;
  if (event.type == SDL_QUIT) {
    message->kind = WindowMessage::Quit;
    PostQuitMessage(0);
  } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) {
    message->kind = WindowMessage::CloseRequest;
  } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
    message->kind = WindowMessage::Resized;
    GetDrawableSize(&message->width, &message->height);
  }
  return true;
}
