// The sound engine's objects, the same on every system: performance, loader, segments,
// audio paths, 3D buffers and the listener, their references, checks and results. What
// sounds is left to the system's output back-end (sound_output.h).
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <new>
#include <string>

#include "platform/data_file.h"
#include "platform/sound_output.h"

struct SoundLoader {
  int references;
  std::string directory;  // the name's bytes, as the system takes them
  // What each file read while a segment holds it, by the name it was read by.
  std::map<std::string, std::weak_ptr<const LoadedWave>> read;
};

struct Sound3DBuffer {
  int references;
  SoundAudioPath* path;  // holds a reference
};

struct SoundListener {
  int references;
  SoundPerformance* performance;  // holds a reference
};

namespace {
constexpr int MaxVoicesPerPath = 64;

bool loopbackWanted = false;
int loopbackRate = 44100;  // samples per second

// Every performance whose output is open, so that the end of the program can close them.
std::vector<SoundPerformance*> openOutputs;
int outputObjectsMade = 0;

bool Finite(const SoundVector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

SoundListenerParams DefaultListener() {
  SoundListenerParams l{};
  l.dwSize = sizeof(SoundListenerParams);
  l.vOrientFront = {0.0f, 0.0f, 1.0f};
  l.vOrientTop = {0.0f, 1.0f, 0.0f};
  l.flDistanceFactor = 1.0f;
  l.flRolloffFactor = 1.0f;
  l.flDopplerFactor = 1.0f;
  return l;
}

SoundBufferParams DefaultBuffer() {
  SoundBufferParams b{};
  b.dwSize = sizeof(SoundBufferParams);
  b.dwInsideConeAngle = 360;
  b.dwOutsideConeAngle = 360;
  b.vConeOrientation = {0.0f, 0.0f, 1.0f};
  b.flMinDistance = 1.0f;
  b.flMaxDistance = 1e9f;
  b.dwMode = Sound3DModeNormal;
  return b;
}

bool Valid(const SoundBufferParams& b) {
  return Finite(b.vPosition) && Finite(b.vVelocity) && Finite(b.vConeOrientation) && b.flMinDistance > 0.0f &&
         b.flMaxDistance > 0.0f && std::isfinite(b.flMaxDistance) && b.dwInsideConeAngle <= 360 &&
         b.dwOutsideConeAngle <= 360 && b.dwMode <= Sound3DModeDisable;
}

bool Valid(const SoundListenerParams& l) {
  auto nonNegative = [](float f) { return f >= 0.0f && std::isfinite(f); };
  return Finite(l.vPosition) && Finite(l.vVelocity) && Finite(l.vOrientFront) && Finite(l.vOrientTop) &&
         l.flDistanceFactor > 0.0f && std::isfinite(l.flDistanceFactor) && nonNegative(l.flRolloffFactor) &&
         nonNegative(l.flDopplerFactor);
}

bool Open(const SoundPerformance* performance) { return performance && performance->device; }

void PlaceVoices(const SoundAudioPath* path) {
  for (const SoundVoice& voice : path->voices) {
    if (voice.output) PlaceOutputVoice(path->performance->device, voice.output, path);
  }
}

// The rolloff reaches every 3D voice; the rest of the record only the listener, so the
// voices (one per segment on every path) are placed again only when the rolloff changes.
void PlaceListener(SoundPerformance* performance, const SoundListenerParams& listener) {
  bool rolloffChanged = listener.flRolloffFactor != performance->listener.flRolloffFactor;
  performance->listener = listener;
  PlaceOutputListener(performance->device, listener);
  for (const SoundAudioPath* path : performance->paths) {
    if (rolloffChanged && path->type == SoundPathType::Dynamic3D) PlaceVoices(path);
  }
}

void StopVoicesOf(SoundPerformance* performance, const SoundSegment* segment, bool detach) {
  for (SoundAudioPath* path : performance->paths) {
    for (SoundVoice& voice : path->voices) {
      if (voice.segment != segment) continue;
      StopOutputVoice(performance->device, voice.output, detach);
      if (detach) voice.segment = nullptr;
    }
  }
}

bool VoicePlays(const SoundPerformance* performance, const SoundVoice& voice) {
  return OutputVoicePlays(performance->device, voice.output);
}

// A new voice of the path for the segment, while the path has channels left.
SoundVoice* AddVoice(SoundAudioPath* path, SoundSegment* segment) {
  if (static_cast<int>(path->voices.size()) >= path->maxVoices) return nullptr;
  OutputVoice* output = MakeOutputVoice(path->performance->device, path, segment);
  if (!output) return nullptr;
  PlaceOutputVoice(path->performance->device, output, path);
  path->voices.push_back({output, segment});
  return &path->voices.back();
}

// The voice for a new sounding: the one that holds the segment (made with the path or
// the download), else, on a path with more segments than channels, an idle one.
SoundVoice* VoiceFor(SoundAudioPath* path, SoundSegment* segment) {
  for (SoundVoice& voice : path->voices) {
    if (voice.segment == segment) return &voice;
  }
  for (SoundVoice& voice : path->voices) {
    if (!VoicePlays(path->performance, voice)) return &voice;
  }
  return AddVoice(path, segment);
}

// A wave file read and mixed down; null when there is nothing to play or no memory for it.
std::shared_ptr<const LoadedWave> ReadWave(const std::string& path) {
  try {
    auto wave = std::make_shared<LoadedWave>();
    if (!ReadWaveFile(path.c_str(), &wave->wave)) return nullptr;
    if (wave->wave.channels == 2) wave->mono = MixedToMono(wave->wave.samples);
    return wave;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// Lets go of everything the output holds for the performance's objects, then of the output.
void CloseOutput(SoundPerformance* performance) {
  std::erase(openOutputs, performance);
  OutputDevice* device = performance->device;
  if (!device) return;
  for (SoundAudioPath* path : performance->paths) {
    for (SoundVoice& voice : path->voices) {
      FreeOutputVoice(device, voice.output);
      voice.output = nullptr;
    }
  }
  for (SoundSegment* segment : performance->segments) {
    FreeOutputWave(device, segment->output);
    segment->output = nullptr;
  }
  performance->device = nullptr;
  CloseOutputDevice(device);
}
}  // namespace

float GainOf(int32_t hundredthsOfDecibel) { return std::pow(10.0f, static_cast<float>(hundredthsOfDecibel) / 2000.0f); }

const std::vector<int16_t>& SamplesFor(const SoundSegment* segment, const SoundAudioPath* path) {
  bool asInFile = path->type == SoundPathType::SharedStereoPlusReverb || segment->wave.channels == 1;
  return asInFile ? segment->wave.samples : segment->mono;
}

// ---- performance ----

int CreatePerformance(SoundPerformance** performance) {
  if (!performance) return SoundInvalidParam;
  *performance = new SoundPerformance{1, nullptr, DefaultListener(), {}, {}, nullptr};
  return SoundOk;
}

int InitAudio(SoundPerformance* performance, SoundPathType, int channels) {
  if (!performance) return SoundNoObject;
  if (performance->device) return SoundFailed;  // once only
  if (channels < 1) return SoundInvalidParam;
  performance->device = OpenOutputDevice(loopbackWanted, loopbackRate);
  if (!performance->device) return SoundNotReady;
  openOutputs.push_back(performance);
  PlaceListener(performance, performance->listener);
  return SoundOk;
}

int CreateStandardAudioPath(SoundPerformance* performance, SoundPathType type, int channels, bool activate,
                            SoundAudioPath** path) {
  if (!path) return SoundInvalidParam;
  *path = nullptr;
  if (!performance) return SoundNoObject;
  if (!Open(performance)) return SoundNotReady;
  if (channels < 1) return SoundInvalidParam;
  SoundAudioPath* made = new SoundAudioPath{};
  made->references = 1;
  made->performance = performance;
  made->type = type;
  made->maxVoices = std::min(channels, MaxVoicesPerPath);
  made->active = activate;
  made->volume = 0;
  made->params = DefaultBuffer();
  made->voices.reserve(made->maxVoices);
  performance->references++;
  performance->paths.push_back(made);
  for (SoundSegment* segment : performance->segments) AddVoice(made, segment);
  *path = made;
  return SoundOk;
}

int PlaySegmentEx(SoundPerformance* performance, SoundSegment* segment, uint32_t flags, int64_t, SoundAudioPath* path) {
  if (!performance || !segment || !path) return SoundNoObject;
  if (path->performance != performance || segment->downloadedTo != performance || !path->active) {
    return SoundFailed;
  }
  if (!Open(performance)) return SoundNotReady;
  if (!(flags & SoundSegmentSecondary)) {
    if (performance->primary && performance->primary != segment) {
      StopVoicesOf(performance, performance->primary, false);
    }
    performance->primary = segment;
  }
  SoundVoice* voice = VoiceFor(path, segment);
  if (!voice) return SoundFailed;
  voice->segment = segment;
  return StartOutputVoice(performance->device, voice->output, segment, path) ? SoundOk : SoundFailed;
}

int StopEx(SoundPerformance* performance, SoundSegment* segment, int64_t, uint32_t) {
  if (!performance || !segment) return SoundNoObject;
  if (!Open(performance)) return SoundNotReady;
  StopVoicesOf(performance, segment, false);
  return SoundOk;
}

int IsPlaying(SoundPerformance* performance, SoundSegment* segment) {
  if (!performance || !segment) return SoundNoObject;
  if (!Open(performance)) return SoundNotReady;
  for (const SoundAudioPath* path : performance->paths) {
    for (const SoundVoice& voice : path->voices) {
      if (voice.segment == segment && VoicePlays(performance, voice)) return SoundOk;
    }
  }
  return SoundFalse;
}

// ---- loader and segments ----

int CreateLoader(SoundLoader** loader) {
  if (!loader) return SoundInvalidParam;
  *loader = new SoundLoader{1, {}, {}};
  return SoundOk;
}

int SetSearchDirectory(SoundLoader* loader, const char* directory, bool) {
  if (!loader) return SoundNoObject;
  if (!directory) return SoundInvalidParam;
  loader->directory = directory;
  return SoundOk;
}

int LoadObjectFromFile(SoundLoader* loader, const char* fileName, SoundSegment** segment) {
  if (!segment) return SoundInvalidParam;
  *segment = nullptr;
  if (!loader) return SoundNoObject;
  if (!fileName || !*fileName) return SoundInvalidParam;
  std::string path = fileName;
  if (!IsWholePath(fileName) && !loader->directory.empty()) path = loader->directory + "/" + path;
  std::shared_ptr<const LoadedWave> wave = loader->read[path].lock();
  if (!wave) wave = ReadWave(path);
  if (!wave) return SoundFileFailed;
  loader->read[path] = wave;
  *segment = new SoundSegment{1, wave, wave->wave, wave->mono, 0, nullptr, nullptr};
  return SoundOk;
}

int Download(SoundSegment* segment, SoundPerformance* performance) {
  if (!segment || !performance) return SoundNoObject;
  if (segment->downloadedTo == performance) return SoundOk;
  if (segment->downloadedTo) return SoundFailed;  // one performance per segment
  if (!Open(performance)) return SoundNotReady;
  segment->output = DownloadToOutput(performance->device, segment);
  if (!segment->output) return SoundFailed;
  segment->downloadedTo = performance;
  performance->segments.push_back(segment);
  performance->references++;
  for (SoundAudioPath* path : performance->paths) AddVoice(path, segment);
  return SoundOk;
}

int SetRepeats(SoundSegment* segment, uint32_t repeats) {
  if (!segment) return SoundNoObject;
  segment->repeats = repeats;
  return SoundOk;
}

// ---- audio paths, 3D buffers, listener ----

int GetObjectInPath(SoundAudioPath* path, Sound3DBuffer** buffer) {
  if (!buffer) return SoundInvalidParam;
  *buffer = nullptr;
  if (!path) return SoundNoObject;
  if (path->type != SoundPathType::Dynamic3D) return SoundFailed;
  path->references++;
  *buffer = new Sound3DBuffer{1, path};
  return SoundOk;
}

int GetObjectInPath(SoundAudioPath* path, SoundListener** listener) {
  if (!listener) return SoundInvalidParam;
  *listener = nullptr;
  if (!path) return SoundNoObject;
  path->performance->references++;
  *listener = new SoundListener{1, path->performance};
  return SoundOk;
}

int SetVolume(SoundAudioPath* path, int32_t hundredthsOfDecibel, uint32_t) {
  if (!path) return SoundNoObject;
  if (!Open(path->performance)) return SoundNotReady;
  path->volume = std::clamp(hundredthsOfDecibel, MinVolume, 0);
  PlaceVoices(path);
  return SoundOk;
}

int GetAllParameters(Sound3DBuffer* buffer, SoundBufferParams* params) {
  if (!buffer) return SoundNoObject;
  if (!params || params->dwSize != sizeof(SoundBufferParams)) return SoundInvalidParam;
  *params = buffer->path->params;
  return SoundOk;
}

int SetAllParameters(Sound3DBuffer* buffer, const SoundBufferParams* params) {
  if (!buffer) return SoundNoObject;
  if (!params || params->dwSize != sizeof(SoundBufferParams) || !Valid(*params)) return SoundInvalidParam;
  if (!Open(buffer->path->performance)) return SoundNotReady;
  buffer->path->params = *params;
  PlaceVoices(buffer->path);
  return SoundOk;
}

int SetPosition(Sound3DBuffer* buffer, float x, float y, float z) {
  if (!buffer) return SoundNoObject;
  if (!Finite({x, y, z})) return SoundInvalidParam;
  SoundAudioPath* path = buffer->path;
  if (!Open(path->performance)) return SoundNotReady;
  path->params.vPosition = {x, y, z};
  if (path->params.dwMode == Sound3DModeDisable) return SoundOk;  // stays centred
  for (const SoundVoice& voice : path->voices) {
    if (voice.output) MoveOutputVoice(path->performance->device, voice.output, {x, y, z});
  }
  return SoundOk;
}

int GetAllParameters(SoundListener* listener, SoundListenerParams* params) {
  if (!listener) return SoundNoObject;
  if (!params || params->dwSize != sizeof(SoundListenerParams)) return SoundInvalidParam;
  *params = listener->performance->listener;
  return SoundOk;
}

int SetAllParameters(SoundListener* listener, const SoundListenerParams* params) {
  if (!listener) return SoundNoObject;
  if (!params || params->dwSize != sizeof(SoundListenerParams) || !Valid(*params)) return SoundInvalidParam;
  if (!Open(listener->performance)) return SoundNotReady;
  PlaceListener(listener->performance, *params);
  return SoundOk;
}

// ---- release ----

int Release(SoundPerformance* performance) {
  if (!performance) return SoundNoObject;
  if (--performance->references > 0) return performance->references;
  CloseOutput(performance);
  delete performance;
  return 0;
}

int Release(SoundLoader* loader) {
  if (!loader) return SoundNoObject;
  if (--loader->references > 0) return loader->references;
  delete loader;
  return 0;
}

int Release(SoundSegment* segment) {
  if (!segment) return SoundNoObject;
  if (--segment->references > 0) return segment->references;
  SoundPerformance* performance = segment->downloadedTo;
  if (performance) {
    if (Open(performance)) {
      StopVoicesOf(performance, segment, true);
      FreeOutputWave(performance->device, segment->output);
    }
    if (performance->primary == segment) performance->primary = nullptr;
    std::erase(performance->segments, segment);
  }
  delete segment;
  if (performance) Release(performance);
  return 0;
}

int Release(SoundAudioPath* path) {
  if (!path) return SoundNoObject;
  if (--path->references > 0) return path->references;
  SoundPerformance* performance = path->performance;
  if (Open(performance)) {
    for (SoundVoice& voice : path->voices) FreeOutputVoice(performance->device, voice.output);
  }
  std::erase(performance->paths, path);
  delete path;
  Release(performance);
  return 0;
}

int Release(Sound3DBuffer* buffer) {
  if (!buffer) return SoundNoObject;
  if (--buffer->references > 0) return buffer->references;
  SoundAudioPath* path = buffer->path;
  delete buffer;
  Release(path);
  return 0;
}

int Release(SoundListener* listener) {
  if (!listener) return SoundNoObject;
  if (--listener->references > 0) return listener->references;
  SoundPerformance* performance = listener->performance;
  delete listener;
  Release(performance);
  return 0;
}

// ---- the test seams and the program's end ----

void UseLoopbackOutput(bool on, int sampleRate) {
  loopbackWanted = on;
  loopbackRate = sampleRate;
}

int RenderLoopbackOutput(SoundPerformance* performance, float* samples, int frames) {
  if (!performance) return SoundNoObject;
  if (!performance->device) return SoundNotReady;
  if (!samples || frames < 0) return SoundInvalidParam;
  return RenderOutput(performance->device, samples, frames) ? SoundOk : SoundNotReady;
}

void CountOutputObjectMade() { ++outputObjectsMade; }

int SoundOutputObjectsMade() { return outputObjectsMade; }

void CloseAllSoundOutputs() {
  while (!openOutputs.empty()) CloseOutput(openOutputs.back());
}

void PauseSoundOutputs(bool paused) {
  for (SoundPerformance* performance : openOutputs) PauseOutputDevice(performance->device, paused);
}
