// Program start and main loop: the question, the window, the context, the loop.
#include "app/program.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>

#include "app/frame_rate.h"
#include "app/scene.h"
#include "audio/audio_setup.h"
#include "input/input.h"
#include "platform/message_box.h"
#include "platform/signals.h"

namespace {
bool fullScreen = false;

bool AskForFullScreen() {
  return ShowMessageBox("Do you want fullscreen mode?", "Fullscreen?", MessageBoxButtons::YesNo) ==
         MessageBoxAnswer::Yes;
}

// Viewport and projection for the window's drawable as it is now.
void FitViewToWindow() {
  int width = 0, height = 0;
  GetDrawableSize(&width, &height);
  ResizeView(width, height);
}

// What the window's creation runs: the context made current, the scene set up and
// the first size handled, all before the window is shown.
void SetUpWindowContents() {
  CreateRenderingContext();
  SetUpScene();
  FitViewToWindow();
}

// The full-screen mode missing, or refused when the window shows: windowed mode.
void SayNoFullScreen() {
  ShowMessageBox("ahhh...crap...sorry. no fullscreen", "doh");
  fullScreen = false;
}

// What the quit key lets go of, let go of for a signal: input, sound, cursor, display mode.
void LetGoAsOnQuit() {
  if (InputDevicesReady()) ReleaseInput();
  ReleaseAudio();
  ShowSystemCursor(true);
  RestoreDisplayMode();
}

// A signal before the scene runs ends the program at once (also from inside a box), with
// 128 + its number.
void EndIfSignalled() {
  if (EndingSignal() == 0) return;
  LetGoAsOnQuit();
  ShutDownAudio();
  StopWindowSystem();
  std::exit(128 + EndingSignal());
}

// The loop has one way to end: the quit message, posted by the quit key, a close
// request, a signal (which lets go of what the quit key does) or a fatal error. It is
// looked at before the frame (a close request was handled at the end of the last pass; a
// signal has just been looked at) and before the swap (the quit key's sequence runs inside
// the frame), so that nothing is drawn or presented once quitting has begun.
void RunMainLoop() {
  for (;;) {
    WindowMessage message;
    bool removed = PollWindowMessage(&message);
    if (EndingSignal() != 0 && !QuitMessagePosted()) {
      LetGoAsOnQuit();
      PostQuitMessage(0);
    }
    if (QuitMessagePosted()) return;
    UpdateFrameRate();
    DrawFrame();
    if (QuitMessagePosted()) return;
    PresentFrame();
    if (removed) HandleWindowMessage(message);
  }
}
}  // namespace

void ResizeView(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 1.0, 10000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void HandleWindowMessage(const WindowMessage& message) {
  switch (message.kind) {
    case WindowMessage::Resized:
      ResizeView(message.width, message.height);
      break;
    case WindowMessage::CloseRequest:
      // Nothing is drawn without a context: the loop ends before its next frame.
      DeleteRenderingContext();
      RestoreDisplayMode();
      PostQuitMessage(0);
      break;
    default:
      break;
  }
}

int RunProgram(ScreenChoice choice) {
  CatchEndingSignals();
  EndOnSignalAtBoxes(EndIfSignalled);
  fullScreen = choice == ScreenChoice::Ask ? AskForFullScreen() : choice == ScreenChoice::FullScreen;
  EndIfSignalled();
  if (!StartWindowSystem()) {
    ShowMessageBox("Couldnt Register Class", "Ouch");
    ShowMessageBox("Couldnt make main window", "Wow that sucks");
    std::fprintf(stderr,
                 "quarnholt: no display to open a window on. Without a screen, run it as\n"
                 "  xvfb-run -a -s \"-screen 0 1280x1024x24\" ./quarnholt\n");
    return 1;
  }
  if (fullScreen && !SwitchToFullScreenMode()) SayNoFullScreen();
  WindowCreation created = CreateMainWindow(fullScreen, "OpenGl Window");
  if (created == WindowCreation::Failed) {
    ShowMessageBox("Couldnt make main window", "Wow that sucks");
    StopWindowSystem();
    return 1;
  }
  if (created == WindowCreation::CreatedWithDefaultPixelFormat)
    ShowMessageBox("Set Pixel Format Error", "Ahhhhhdarn it.");
  SetUpWindowContents();
  EndIfSignalled();
  if (!ShowMainWindow()) {
    SayNoFullScreen();
    ShowMainWindow();
    FitViewToWindow();
  }
  if (fullScreen) ShowSystemCursor(false);
  SetUpInput();
  EndIfSignalled();
  EndOnSignalAtBoxes(nullptr);  // in the scene, the main loop ends it
  RunMainLoop();
  ShutDownAudio();
  RestoreDisplayMode();
  StopWindowSystem();
  return QuitMessageCode();
}
