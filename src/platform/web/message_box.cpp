// Message boxes as the browser's own modal alert and confirm, caption over text.
#include <emscripten.h>

#include <cstdio>

#include "platform/back_end.h"

namespace {
// The page's JavaScript, kept as written (clang-format would break its operators).
// clang-format off
EM_JS(int, ShowPageBox, (const char* text, const char* caption, int yesNo), {
  var shown = UTF8ToString(caption) + "\n\n" + UTF8ToString(text);
  if (yesNo) return confirm(shown) ? 1 : 0;
  alert(shown);
  return 1;
});
// clang-format on
}  // namespace

// confirm's OK is Yes and its Cancel No.
MessageBoxAnswer ShowSystemMessageBox(const char* text, const char* caption, MessageBoxButtons buttons) {
  bool yesNo = buttons == MessageBoxButtons::YesNo;
  int answer = ShowPageBox(text, caption, yesNo ? 1 : 0);
  if (!yesNo) return MessageBoxAnswer::Ok;
  return answer ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}

// The page has no console a person reads, and no command line: what there is goes to the
// browser's console.
void ShowCommandLineText(const char* text, CommandLineText kind) {
  std::fputs(text, kind == CommandLineText::Answer ? stdout : stderr);
}
