// Message boxes as the browser's own modal alert and confirm, caption over text.
#include <emscripten.h>

#include "platform/back_end.h"

namespace {
EM_JS(int, ShowPageBox, (const char* text, const char* caption, int yesNo), {
  var shown = UTF8ToString(caption) + "\n\n" + UTF8ToString(text);
  if (yesNo) return confirm(shown) ? 1 : 0;
  alert(shown);
  return 1;
});
}  // namespace

// confirm's OK is Yes and its Cancel No.
MessageBoxAnswer ShowSystemMessageBox(const char* text, const char* caption, MessageBoxButtons buttons) {
  bool yesNo = buttons == MessageBoxButtons::YesNo;
  int answer = ShowPageBox(text, caption, yesNo ? 1 : 0);
  if (!yesNo) return MessageBoxAnswer::Ok;
  return answer ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}
