// The held-frame switch of the bench's limit mode.
#include "effects/held_frame.h"

namespace {
bool held = false;
}  // namespace

void HoldEffectsFrame(bool on) { held = on; }

bool EffectsFrameHeld() { return held; }
