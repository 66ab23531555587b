// Message boxes through SDL, with standard error as the last resort.
#include "platform/back_end.h"
#include "platform/signals.h"
#include "platform/sound_engine.h"

#include <SDL.h>

#include <cstdio>

namespace {
// The caption and text on standard error (none when null), and the answer given.
MessageBoxAnswer AnswerWithoutDisplay(const char* text, const char* caption, MessageBoxButtons buttons) {
  if (text) std::fprintf(stderr, "%s: %s\n", caption, text);
  return buttons == MessageBoxButtons::YesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
}
}  // namespace

MessageBoxAnswer ShowSystemMessageBox(const char* text, const char* caption, MessageBoxButtons buttons) {
  const SDL_MessageBoxButtonData okButton = {
      SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "OK"};
  const SDL_MessageBoxButtonData yesNoButtons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 6, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 7, "No"},
  };
  SDL_MessageBoxData box = {};
  box.flags = SDL_MESSAGEBOX_INFORMATION;
  box.title = caption;
  box.message = text;
  if (buttons == MessageBoxButtons::YesNo) {
    box.numbuttons = 2;
    box.buttons = yesNoButtons;
  } else {
    box.numbuttons = 1;
    box.buttons = &okButton;
  }
  int pressed = 0;
  MessageBoxUp(true);
#ifdef QUARNHOLT_SANITIZE
  // The box is shown by a process forked off this one. The sanitizers' allocator, unlike
  // the C library's, takes no lock around a fork, so a lock that a sound thread holds at
  // that moment stays held for good in the forked copy, which can hang on it (seen in
  // this build). Here alone the sound stops while the box is up.
  PauseSoundOutputs(true);
  int shown = SDL_ShowMessageBox(&box, &pressed);
  PauseSoundOutputs(false);
#else
  int shown = SDL_ShowMessageBox(&box, &pressed);
#endif
  MessageBoxUp(false);
  // A box that a signal took down says nothing more.
  if (shown != 0) return AnswerWithoutDisplay(EndingSignal() ? nullptr : text, caption, buttons);
  if (buttons == MessageBoxButtons::Ok) return MessageBoxAnswer::Ok;
  return pressed == 6 ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}

void ShowCommandLineText(const char* text, CommandLineText kind) {
  std::fputs(text, kind == CommandLineText::Answer ? stdout : stderr);
}
