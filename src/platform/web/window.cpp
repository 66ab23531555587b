// The window layer in the browser: the page's canvas with a WebGL context made through
// Emscripten's SDL (whose context starts the legacy GL emulation), the page's title, and
// a main loop that hands the browser its turn at every swap.
#include "platform/window.h"

#include <SDL/SDL.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include "platform/web/immediate_mode.h"

namespace {
bool started = false;
bool made = false;  // the canvas has its context
bool contextOn = false;
bool fullScreenWindow = false;

const int FullScreenWidth = 1024;  // pixels
const int FullScreenHeight = 768;  // pixels
const int WindowedSize = 400;      // pixels
const char* const Canvas = "#canvas";

// The page's JavaScript, kept as written (clang-format would break its operators).
// clang-format off
EM_JS(int, PageHasWebGl, (), {
  var canvas = document.createElement("canvas");
  return canvas.getContext("webgl") ? 1 : 0;
});

EM_JS(int, PageCanGoFullScreen, (), { return document.fullscreenEnabled ? 1 : 0; });

EM_JS(void, ShowCanvas, (int shown), { Module["canvas"].style.display = shown ? "block" : "none"; });

EM_JS(void, SetPageTitle, (const char* title), { document.title = UTF8ToString(title); });

EM_JS(void, SetCanvasCursor, (int shown), { Module["canvas"].style.cursor = shown ? "auto" : "none"; });

// The page's own part at the end: it says that the program has ended and with which code.
EM_JS(void, SayProgramEnded, (int code), {
  if (Module["onProgramEnd"]) Module["onProgramEnd"](code);
});

// The browser's turn: a message to the page itself comes back at once, where a timer of
// 0 ms, chained, waits 4 ms at the least.
EM_ASYNC_JS(void, GiveBrowserItsTurn, (), {
  await new Promise(function (resume) {
    var channel = new MessageChannel();
    channel.port1.onmessage = function () { resume(); };
    channel.port2.postMessage(0);
  });
});
// clang-format on

// Sets the canvas to the size, hidden until ShowMainWindow.
bool MakeCanvas(int width, int height) {
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  if (!SDL_SetVideoMode(width, height, 32, SDL_OPENGL)) return false;
  ShowCanvas(0);
  made = true;
  return true;
}
}  // namespace

bool StartWindowSystem() {
  if (started) return true;
  if (!PageHasWebGl() || SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  started = true;
  return true;
}

// The program ends here: the page takes over.
void StopWindowSystem() {
  if (!started) return;
  DestroyMainWindow();
  started = false;
  SayProgramEnded(QuitMessageCode());
}

// The page goes full screen at the first click or key after the canvas shows: here only
// whether it may at all.
bool SwitchToFullScreenMode() { return started && PageCanGoFullScreen(); }

WindowCreation CreateMainWindow(bool fullScreen, const char* title) {
  if (!started) return WindowCreation::Failed;
  bool canvasMade = fullScreen ? MakeCanvas(FullScreenWidth, FullScreenHeight) : MakeCanvas(WindowedSize, WindowedSize);
  if (!canvasMade) return WindowCreation::Failed;
  fullScreenWindow = fullScreen;
  SetPageTitle(title);
  return WindowCreation::Created;
}

bool CreateHiddenWindow(int width, int height) {
  if (!StartWindowSystem() || !MakeCanvas(width, height)) return false;
  return CreateRenderingContext();
}

void DestroyMainWindow() {
  DeleteRenderingContext();
  if (made) ShowCanvas(0);
  made = false;
  fullScreenWindow = false;
}

// The context came with the canvas; it is the program's from here on.
bool CreateRenderingContext() {
  contextOn = made;
  return contextOn;
}

void DeleteRenderingContext() {
  if (contextOn) ForgetImmediateState();
  contextOn = false;
}

// Full screen needs a person's gesture: it is asked for now and taken at the first click
// or key. Where the page may not go full screen at all, the canvas turns into the 400 x 400
// one and the result is false.
bool ShowMainWindow() {
  if (!made) return false;
  ShowCanvas(1);
  if (!fullScreenWindow) return true;
  EMSCRIPTEN_RESULT asked = emscripten_request_fullscreen(Canvas, EM_TRUE);
  if (asked == EMSCRIPTEN_RESULT_SUCCESS || asked == EMSCRIPTEN_RESULT_DEFERRED) return true;
  emscripten_set_canvas_element_size(Canvas, WindowedSize, WindowedSize);
  fullScreenWindow = false;
  return false;
}

void GetDrawableSize(int* width, int* height) {
  *width = 0;
  *height = 0;
  if (made) emscripten_get_canvas_element_size(Canvas, width, height);
}

void SetMainWindowTitle(const char* title) {
  if (made) SetPageTitle(title);
}

void ShowSystemCursor(bool shown) {
  if (started) SetCanvasCursor(shown ? 1 : 0);
}

void RestoreDisplayMode() {
  if (fullScreenWindow) emscripten_exit_fullscreen();
  fullScreenWindow = false;
}

// The browser shows the canvas when the program gives it its turn: at every frame's end.
void PresentFrame() {
  if (made && contextOn) GiveBrowserItsTurn();
}

// The page sends the program no window messages; SDL's queue is emptied unread.
bool PollWindowMessage(WindowMessage*) {
  SDL_Event event;
  while (started && SDL_PollEvent(&event)) {
  }
  return false;
}
