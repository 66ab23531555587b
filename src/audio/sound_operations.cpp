// Sound operations: start, stop and place the rain, wind and firework sounds, and
// move the listener. Each does nothing without the objects it needs (set-up failed,
// or the audio was released earlier in the quitting frame). Scene z is negated for
// the engine's left-handed space.
#include "audio/sound_operations.h"

#include "audio/audio_setup.h"
#include "audio/firework_sounds.h"

namespace {
constexpr int32_t RainVolume = -2000;  // hundredths of a decibel: -20 dB
constexpr int32_t WindVolume = 0;      // full level

bool Playing(SoundSegment* segment) { return IsPlaying(Performance, segment) == SoundOk; }

// Starts a segment as a secondary sound that mixes over the ambient loop.
void Play(SoundSegment* segment, SoundAudioPath* path) {
  PlaySegmentEx(Performance, segment, SoundSegmentSecondary | SoundSegmentDefault, 0, path);
}

void Stop(SoundSegment* segment) { StopEx(Performance, segment, 0, 0); }

void Place(Sound3DBuffer* buffer, float x, float y, float z) { SetPosition(buffer, x, y, -z); }
}  // namespace

void SetFireworkSoundPosition(int firework, float x, float y, float z) {
  FireworkSound& sound = FireworkSounds[firework];
  if (sound.buffer) Place(sound.buffer, x, y, z);
}

// The pop starts once per burst, however often the burst asks for it.
void StartFireworkPop(int firework) {
  FireworkSound& sound = FireworkSounds[firework];
  if (!Performance || !sound.popSegment || !sound.path) return;
  if (!Playing(sound.popSegment) && !sound.popStarted) {
    Play(sound.popSegment, sound.path);
    sound.popStarted = true;
  }
}

void StopFireworkPop(int firework) {
  FireworkSound& sound = FireworkSounds[firework];
  if (Performance && sound.popSegment) Stop(sound.popSegment);
  sound.popStarted = false;
}

void StartFireworkWhistle(int firework) {
  FireworkSound& sound = FireworkSounds[firework];
  if (!Performance || !sound.whistleSegment || !sound.path) return;
  if (!Playing(sound.whistleSegment)) Play(sound.whistleSegment, sound.path);
}

void StopFireworkWhistle(int firework) {
  FireworkSound& sound = FireworkSounds[firework];
  if (Performance && sound.whistleSegment) Stop(sound.whistleSegment);
}

void StartRainSound() {
  if (!Performance || !RainSegment || !RainPath) return;
  if (Playing(RainSegment)) return;
  SetRepeats(RainSegment, SoundRepeatInfinite);
  SetVolume(RainPath, RainVolume, 0);
  Play(RainSegment, RainPath);
}

void StopRainSound() {
  if (!Performance || !RainSegment) return;
  if (Playing(RainSegment)) Stop(RainSegment);
}

void StartWindSound() {
  if (!Performance || !WindSegment || !WindPath) return;
  if (Playing(WindSegment)) return;
  SetVolume(WindPath, WindVolume, 0);
  SetRepeats(WindSegment, SoundRepeatInfinite);
  Play(WindSegment, WindPath);
}

void StopWindSound() {
  if (!Performance || !WindSegment) return;
  if (Playing(WindSegment)) Stop(WindSegment);
}

void SetWindSoundPosition(float x, float y, float z) {
  if (WindBuffer) Place(WindBuffer, x, y, z);
}

// The listener stands at the eye and faces along the view; top, velocity and
// distance factor stay as the engine has them.
void UpdateListener(float px, float py, float pz, float fx, float fy, float fz) {
  if (!Listener) return;
  ListenerParams.dwSize = sizeof(SoundListenerParams);
  GetAllParameters(Listener, &ListenerParams);
  ListenerParams.flDopplerFactor = 0.0f;
  ListenerParams.flRolloffFactor = 0.01f;
  ListenerParams.vPosition = {px, py, -pz};
  ListenerParams.vOrientFront = {fx, fy, -fz};
  SetAllParameters(Listener, &ListenerParams);
}
