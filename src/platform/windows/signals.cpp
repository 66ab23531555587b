// Ending signals on Windows: the C runtime's interrupt and termination signals (a console's
// Ctrl+C and Ctrl+Break among them) mark the program to end. Boxes are the program's own
// windows here, taken down with it.
#include <csignal>

#include "platform/signals.h"

namespace {
constexpr int EndingSignals[] = {SIGINT, SIGTERM, SIGBREAK};
volatile sig_atomic_t endingSignal = 0;

void OnEndingSignal(int number) {
  if (endingSignal == 0) endingSignal = number;
  std::signal(number, OnEndingSignal);  // the runtime resets it before each call
}
}  // namespace

void CatchEndingSignals() {
  for (int number : EndingSignals) std::signal(number, OnEndingSignal);
}

int EndingSignal() { return endingSignal; }

void MessageBoxUp(bool) {}
