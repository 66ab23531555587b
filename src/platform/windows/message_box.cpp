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
