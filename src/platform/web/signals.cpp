// Ending signals in a web page: there are none; closing the tab ends everything at once.
#include "platform/signals.h"

void CatchEndingSignals() {}

int EndingSignal() { return 0; }

void MessageBoxUp(bool) {}
