// Firework sounds: per firework a whistle and a pop on a 3D path of its own.
#include "audio/firework_sounds.h"

#include "audio/audio_setup.h"
#include "data/data_files.h"
#include "platform/message_box.h"

FireworkSound FireworkSounds[FireworkCount] = {};

namespace {
void LoadSounds(FireworkSound& sound) {
  if (LoadObjectFromFile(Loader, FindDataFile(WhistleSoundFile).c_str(), &sound.whistleSegment) < 0) {
    ShowMessageBox("cant load whistle.wav", "error");
  }
  if (LoadObjectFromFile(Loader, FindDataFile(PopSoundFile).c_str(), &sound.popSegment) < 0) {
    ShowMessageBox("cant load pop.wav", "error");
  }
}

void MakePath(FireworkSound& sound) {
  if (CreateStandardAudioPath(Performance, SoundPathType::Dynamic3D, AudioPathChannels, true, &sound.path) < 0) {
    ShowMessageBox("cant make fireworks sound audio path", "error");
  }
  if (GetObjectInPath(sound.path, &sound.buffer) < 0) ShowMessageBox("Cant make fireworks 3d sound buffer", "error");
  sound.bufferParams.dwSize = sizeof(SoundBufferParams);
  GetAllParameters(sound.buffer, &sound.bufferParams);
  sound.bufferParams.dwMode = Sound3DModeNormal;
  SetAllParameters(sound.buffer, &sound.bufferParams);
}

// The listener is the engine's one listener, the same that audio set-up placed through
// the wind's path: each of the five firework set-ups fetches it again through its own
// path and writes it again (origin, rolloff 0.1, a little Doppler), the last write
// standing until the first frame's UpdateListener. Five writes to one listener, not
// five listeners; the records keep five references to it.
void SetUpListener(FireworkSound& sound) {
  if (GetObjectInPath(sound.path, &sound.listener) < 0) ShowMessageBox("Cant Make Fireworks 3d listener", "blah");
  sound.listenerParams.dwSize = sizeof(SoundListenerParams);
  GetAllParameters(sound.listener, &sound.listenerParams);
  sound.listenerParams.vPosition = {0.0f, 0.0f, 0.0f};
  sound.listenerParams.flRolloffFactor = 0.1f;
  sound.listenerParams.flDopplerFactor = 0.1f;
  SetAllParameters(sound.listener, &sound.listenerParams);
}

// Full level up to 1 unit, no further fall-off past 2000, at the origin until the shell rises.
void PlaceAndDownload(FireworkSound& sound) {
  sound.bufferParams.flMinDistance = 1.0f;
  sound.bufferParams.flMaxDistance = 2000.0f;
  SetAllParameters(sound.buffer, &sound.bufferParams);
  SetPosition(sound.buffer, 0.0f, 0.0f, 0.0f);
  Download(sound.popSegment, Performance);
  Download(sound.whistleSegment, Performance);
}
}  // namespace

void SetUpFireworkSounds() {
  for (FireworkSound& sound : FireworkSounds) {
    sound.popStarted = false;
    LoadSounds(sound);
    MakePath(sound);
    SetUpListener(sound);
    PlaceAndDownload(sound);
  }
}
