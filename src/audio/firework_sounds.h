// The sounds of the five fireworks: a whistle while the shell rises, a pop at the burst.
#pragma once

#include "common/firework_count.h"
#include "platform/sound_engine.h"

struct FireworkSound {
  SoundSegment* popSegment;      // "pop.wav", plays through once
  SoundSegment* whistleSegment;  // "whistle.wav", plays through once
  SoundAudioPath* path;          // 3D path both sounds play on
  Sound3DBuffer* buffer;         // where this firework is heard
  SoundListener* listener;       // the engine's one listener, reached through path
  SoundBufferParams bufferParams;
  SoundListenerParams listenerParams;
  bool popStarted;  // the pop of the current burst has been started
};

// One record per firework, indexed like the fireworks of effects/fireworks.h.
extern FireworkSound FireworkSounds[FireworkCount];

// Loads, places and downloads each firework's sounds; needs Performance and Loader
// (audio set-up). Each failure shows its message and set-up goes on.
void SetUpFireworkSounds();
