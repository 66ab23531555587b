// The browser's OpenAL (Emscripten's, on Web Audio) has no loopback device; pausing is
// the AudioContext's own business, so both are left out.
#include "platform/openal/openal_extensions.h"

ALCdevice* OpenLoopbackDevice(int, ALCcontext** context) {
  *context = nullptr;
  return nullptr;
}

bool RenderLoopbackDevice(ALCdevice*, float*, int) { return false; }

void PauseDevice(ALCdevice*, bool) {}
