// The quit message, the same on every back-end: a mark that the loop reads, not an event in
// the system's queue, so that it ends the loop before the next frame whatever else is waiting.
#include "platform/window.h"

namespace {
bool quitPosted = false;
int quitCode = 0;
}  // namespace

// Only the first quit counts: its exit code is the program's.
void PostQuitMessage(int exitCode) {
  if (quitPosted) return;
  quitPosted = true;
  quitCode = exitCode;
}

bool QuitMessagePosted() { return quitPosted; }

int QuitMessageCode() { return quitCode; }
