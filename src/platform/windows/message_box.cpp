// Message boxes through MessageBoxA, with standard error where none can be shown.
#include <windows.h>

#include <cstdio>

#include "platform/back_end.h"

MessageBoxAnswer ShowSystemMessageBox(const char* text, const char* caption, MessageBoxButtons buttons) {
  const bool yesNo = buttons == MessageBoxButtons::YesNo;
  int pressed = MessageBoxA(nullptr, text, caption, yesNo ? MB_YESNO : MB_OK);
  if (pressed == 0) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return yesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
  }
  if (!yesNo) return MessageBoxAnswer::Ok;
  return pressed == IDYES ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}

// A program without a console shows it in a box; standard error is the last resort.
void ShowCommandLineText(const char* text, CommandLineText kind) {
  UINT icon = kind == CommandLineText::Answer ? MB_ICONINFORMATION : MB_ICONWARNING;
  if (MessageBoxA(nullptr, text, "Quarnholt", MB_OK | icon) == 0) std::fputs(text, stderr);
}
