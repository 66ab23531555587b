// The sound engine over OpenAL Soft: a performance is a device and its context, a
// segment a decoded wave in OpenAL buffers, an audio path a set of sources sharing
// the path's gain and 3D placement. Waves are read with SDL_LoadWAV.
#include "platform/sound_engine.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

// One sounding of a segment on a path: an OpenAL source.
struct SoundVoice {
  ALuint source;
  SoundSegment* segment;  // the segment it holds, or null
};

struct SoundPerformance {
  int references;
  ALCdevice* device;    // null until InitAudio succeeds
  ALCcontext* context;  // null until InitAudio succeeds
  bool loopback;
  SoundListenerParams listener;  // engine space
  std::vector<SoundAudioPath*> paths;
  SoundSegment* primary;  // the primary segment, or null
};

struct SoundLoader {
  int references;
  std::string directory;
};

struct SoundSegment {
  int references;
  std::vector<int16_t> samples;  // interleaved when stereo
  int channels;                  // 1 or 2
  int sampleRate;                // samples per second
  uint32_t repeats;
  SoundPerformance* downloadedTo;  // holds a reference, or null
  ALuint buffer;                   // as in the file
  ALuint monoBuffer;               // mixed down for mono and 3D paths; equals buffer for mono files
};

struct SoundAudioPath {
  int references;
  SoundPerformance* performance;  // holds a reference
  SoundPathType type;
  int maxVoices;  // sounds at once, one per channel up to MaxVoicesPerPath
  bool active;
  float gain;                 // linear, from the path volume
  SoundBufferParams params;   // the path's 3D placement, engine space (3D paths)
  std::vector<SoundVoice> voices;
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
constexpr int MaxQueuedPlays = 64;      // a finite repeat count plays at most this many times
constexpr float SpeedOfSound = 343.3f;  // metres per second
constexpr int32_t MinVolume = -9600;    // hundredths of a decibel: silence

bool loopbackWanted = false;
int loopbackRate = 44100;
ALCcontext* currentContext = nullptr;

float GainOf(int32_t hundredthsOfDecibel) {
  return std::pow(10.0f, static_cast<float>(hundredthsOfDecibel) / 2000.0f);
}

bool Finite(const SoundVector& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Makes the performance's context current for the OpenAL calls that follow.
bool Use(SoundPerformance* performance) {
  if (!performance || !performance->context) return false;
  if (currentContext != performance->context) {
    alcMakeContextCurrent(performance->context);
    currentContext = performance->context;
  }
  return true;
}

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

// Places one source as its path says: centred for mono paths, in the world
// (z turned back into OpenAL's right-handed space) for 3D paths.
void PlaceVoice(const SoundAudioPath* path, ALuint source) {
  alSourcef(source, AL_GAIN, path->gain);
  if (path->type != SoundPathType::Dynamic3D) {
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    return;
  }
  const SoundBufferParams& b = path->params;
  bool disabled = b.dwMode == Sound3DModeDisable;
  SoundVector p = disabled ? SoundVector{0.0f, 0.0f, 0.0f} : b.vPosition;
  alSourcei(source, AL_SOURCE_RELATIVE, b.dwMode == Sound3DModeNormal ? AL_FALSE : AL_TRUE);
  alSource3f(source, AL_POSITION, p.x, p.y, -p.z);
  alSource3f(source, AL_VELOCITY, b.vVelocity.x, b.vVelocity.y, -b.vVelocity.z);
  alSource3f(source, AL_DIRECTION, b.vConeOrientation.x, b.vConeOrientation.y, -b.vConeOrientation.z);
  alSourcef(source, AL_CONE_INNER_ANGLE, static_cast<float>(b.dwInsideConeAngle));
  alSourcef(source, AL_CONE_OUTER_ANGLE, static_cast<float>(b.dwOutsideConeAngle));
  alSourcef(source, AL_CONE_OUTER_GAIN, GainOf(std::max(b.lConeOutsideVolume, MinVolume)));
  alSourcef(source, AL_REFERENCE_DISTANCE, b.flMinDistance);
  alSourcef(source, AL_MAX_DISTANCE, b.flMaxDistance);
  alSourcef(source, AL_ROLLOFF_FACTOR, disabled ? 0.0f : path->performance->listener.flRolloffFactor);
}

void PlaceVoices(const SoundAudioPath* path) {
  for (const SoundVoice& voice : path->voices) PlaceVoice(path, voice.source);
}

// Hands the listener record to OpenAL; its rolloff reaches every 3D source.
void PlaceListener(SoundPerformance* performance) {
  const SoundListenerParams& l = performance->listener;
  alListener3f(AL_POSITION, l.vPosition.x, l.vPosition.y, -l.vPosition.z);
  alListener3f(AL_VELOCITY, l.vVelocity.x, l.vVelocity.y, -l.vVelocity.z);
  const float orientation[6] = {l.vOrientFront.x, l.vOrientFront.y, -l.vOrientFront.z,
                                l.vOrientTop.x,   l.vOrientTop.y,   -l.vOrientTop.z};
  alListenerfv(AL_ORIENTATION, orientation);
  alDopplerFactor(l.flDopplerFactor);
  alSpeedOfSound(SpeedOfSound / l.flDistanceFactor);
  for (const SoundAudioPath* path : performance->paths) {
    if (path->type == SoundPathType::Dynamic3D) PlaceVoices(path);
  }
}

void StopVoicesOf(SoundPerformance* performance, const SoundSegment* segment, bool detach) {
  for (SoundAudioPath* path : performance->paths) {
    for (SoundVoice& voice : path->voices) {
      if (voice.segment != segment) continue;
      alSourceStop(voice.source);
      if (detach) {
        alSourcei(voice.source, AL_BUFFER, 0);
        voice.segment = nullptr;
      }
    }
  }
}

bool VoicePlays(const SoundVoice& voice) {
  ALint state = AL_STOPPED;
  alGetSourcei(voice.source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

// The voice for a new sounding: the one that already holds the segment, an idle
// one, or a new one while the path has channels left.
SoundVoice* VoiceFor(SoundAudioPath* path, const SoundSegment* segment) {
  for (SoundVoice& voice : path->voices) {
    if (voice.segment == segment) return &voice;
  }
  for (SoundVoice& voice : path->voices) {
    if (!VoicePlays(voice)) return &voice;
  }
  if (static_cast<int>(path->voices.size()) >= path->maxVoices) return nullptr;
  alGetError();
  ALuint source = 0;
  alGenSources(1, &source);
  if (alGetError() != AL_NO_ERROR) return nullptr;
  PlaceVoice(path, source);
  path->voices.push_back({source, nullptr});
  return &path->voices.back();
}

// Every performance whose output is open, so that the end of the program can close them.
std::vector<SoundPerformance*> openOutputs;

bool OpenOutput(SoundPerformance* performance) {
  openOutputs.push_back(performance);
  if (!loopbackWanted) {
    performance->device = alcOpenDevice(nullptr);
    if (!performance->device) return false;
    performance->context = alcCreateContext(performance->device, nullptr);
    return performance->context != nullptr;
  }
  auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
      alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  if (!openLoopback) return false;
  performance->device = openLoopback(nullptr);
  if (!performance->device) return false;
  performance->loopback = true;
  const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                               ALC_FLOAT_SOFT, ALC_FREQUENCY, loopbackRate, ALC_HRTF_SOFT, ALC_FALSE, 0};
  performance->context = alcCreateContext(performance->device, attributes);
  return performance->context != nullptr;
}

void CloseOutput(SoundPerformance* performance) {
  std::erase(openOutputs, performance);
  if (performance->context) {
    if (currentContext == performance->context) {
      alcMakeContextCurrent(nullptr);
      currentContext = nullptr;
    }
    alcDestroyContext(performance->context);
    performance->context = nullptr;
  }
  if (performance->device) alcCloseDevice(performance->device);
  performance->device = nullptr;
}

// Reads a wave file into 16-bit samples, one or two channels at the file's rate.
bool DecodeWave(const std::string& fileName, SoundSegment* segment) {
  SDL_AudioSpec format{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV(fileName.c_str(), &format, &data, &length)) return false;
  int channels = std::min<int>(format.channels, 2);
  SDL_AudioCVT cvt{};
  int needed = SDL_BuildAudioCVT(&cvt, format.format, format.channels, format.freq, AUDIO_S16SYS,
                                 static_cast<Uint8>(channels), format.freq);
  bool ok = needed >= 0;
  std::vector<Uint8> converted;
  if (ok) {
    converted.assign(data, data + length);
    if (needed == 1) {
      cvt.len = static_cast<int>(length);
      converted.resize(static_cast<size_t>(length) * cvt.len_mult);
      cvt.buf = converted.data();
      ok = SDL_ConvertAudio(&cvt) == 0;
      converted.resize(ok ? static_cast<size_t>(cvt.len_cvt) : 0);
    }
  }
  SDL_FreeWAV(data);
  size_t frames = converted.size() / (sizeof(int16_t) * channels);
  if (!ok || frames == 0) return false;
  segment->samples.resize(frames * channels);
  std::memcpy(segment->samples.data(), converted.data(), segment->samples.size() * sizeof(int16_t));
  segment->channels = channels;
  segment->sampleRate = format.freq;
  return true;
}

bool MakeBuffer(ALuint* buffer, const std::vector<int16_t>& samples, int channels, int rate) {
  alGetError();
  alGenBuffers(1, buffer);
  if (alGetError() != AL_NO_ERROR) return false;
  alBufferData(*buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, samples.data(),
               static_cast<ALsizei>(samples.size() * sizeof(int16_t)), rate);
  if (alGetError() == AL_NO_ERROR) return true;
  alDeleteBuffers(1, buffer);
  *buffer = 0;
  return false;
}

std::vector<int16_t> MixedToMono(const std::vector<int16_t>& stereo) {
  std::vector<int16_t> mono(stereo.size() / 2);
  for (size_t i = 0; i < mono.size(); ++i) {
    mono[i] = static_cast<int16_t>((stereo[2 * i] + stereo[2 * i + 1]) / 2);
  }
  return mono;
}
}  // namespace

// ---- performance ----

int CreatePerformance(SoundPerformance** performance) {
  if (!performance) return SoundInvalidParam;
  *performance = new SoundPerformance{1, nullptr, nullptr, false, DefaultListener(), {}, nullptr};
  return SoundOk;
}

int InitAudio(SoundPerformance* performance, SoundPathType, int channels) {
  if (!performance) return SoundNoObject;
  if (performance->context) return SoundFailed;  // once only
  if (channels < 1) return SoundInvalidParam;
  if (!OpenOutput(performance)) {
    CloseOutput(performance);
    return SoundNotReady;
  }
  Use(performance);
  alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
  PlaceListener(performance);
  return SoundOk;
}

int CreateStandardAudioPath(SoundPerformance* performance, SoundPathType type, int channels, bool activate,
                            SoundAudioPath** path) {
  if (!path) return SoundInvalidParam;
  *path = nullptr;
  if (!performance) return SoundNoObject;
  if (!Use(performance)) return SoundNotReady;
  if (channels < 1) return SoundInvalidParam;
  SoundAudioPath* made = new SoundAudioPath{};
  made->references = 1;
  made->performance = performance;
  made->type = type;
  made->maxVoices = std::min(channels, MaxVoicesPerPath);
  made->active = activate;
  made->gain = 1.0f;
  made->params = DefaultBuffer();
  made->voices.reserve(made->maxVoices);
  performance->references++;
  performance->paths.push_back(made);
  *path = made;
  return SoundOk;
}

int PlaySegmentEx(SoundPerformance* performance, SoundSegment* segment, uint32_t flags, int64_t,
                  SoundAudioPath* path) {
  if (!performance || !segment || !path) return SoundNoObject;
  if (path->performance != performance || segment->downloadedTo != performance || !path->active) {
    return SoundFailed;
  }
  if (!Use(performance)) return SoundNotReady;
  if (!(flags & SoundSegmentSecondary)) {
    if (performance->primary && performance->primary != segment) {
      StopVoicesOf(performance, performance->primary, false);
    }
    performance->primary = segment;
  }
  SoundVoice* voice = VoiceFor(path, segment);
  if (!voice) return SoundFailed;
  ALuint source = voice->source;
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, 0);
  // Mono and 3D paths have a buffer of one channel: a stereo file plays there mixed down.
  ALuint buffer = path->type == SoundPathType::SharedStereoPlusReverb ? segment->buffer : segment->monoBuffer;
  if (segment->repeats == SoundRepeatInfinite) {
    alSourcei(source, AL_LOOPING, AL_TRUE);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
  } else {
    ALuint queue[MaxQueuedPlays];
    int plays = static_cast<int>(std::min<uint32_t>(segment->repeats, MaxQueuedPlays - 1)) + 1;
    std::fill(queue, queue + plays, buffer);
    alSourcei(source, AL_LOOPING, AL_FALSE);
    alSourceQueueBuffers(source, plays, queue);
  }
  voice->segment = segment;
  alSourcePlay(source);
  return SoundOk;
}

int StopEx(SoundPerformance* performance, SoundSegment* segment, int64_t, uint32_t) {
  if (!performance || !segment) return SoundNoObject;
  if (!Use(performance)) return SoundNotReady;
  StopVoicesOf(performance, segment, false);
  return SoundOk;
}

int IsPlaying(SoundPerformance* performance, SoundSegment* segment) {
  if (!performance || !segment) return SoundNoObject;
  if (!Use(performance)) return SoundNotReady;
  for (const SoundAudioPath* path : performance->paths) {
    for (const SoundVoice& voice : path->voices) {
      if (voice.segment == segment && VoicePlays(voice)) return SoundOk;
    }
  }
  return SoundFalse;
}

// ---- loader and segments ----

int CreateLoader(SoundLoader** loader) {
  if (!loader) return SoundInvalidParam;
  *loader = new SoundLoader{1, {}};
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
  if (path[0] != '/' && !loader->directory.empty()) path = loader->directory + "/" + path;
  SoundSegment* loaded = new SoundSegment{};
  loaded->references = 1;
  if (!DecodeWave(path, loaded)) {
    delete loaded;
    return SoundFileFailed;
  }
  *segment = loaded;
  return SoundOk;
}

int Download(SoundSegment* segment, SoundPerformance* performance) {
  if (!segment || !performance) return SoundNoObject;
  if (segment->downloadedTo == performance) return SoundOk;
  if (segment->downloadedTo) return SoundFailed;  // one performance per segment
  if (!Use(performance)) return SoundNotReady;
  if (!MakeBuffer(&segment->buffer, segment->samples, segment->channels, segment->sampleRate)) {
    return SoundFailed;
  }
  segment->monoBuffer = segment->buffer;
  if (segment->channels == 2 &&
      !MakeBuffer(&segment->monoBuffer, MixedToMono(segment->samples), 1, segment->sampleRate)) {
    alDeleteBuffers(1, &segment->buffer);
    segment->buffer = segment->monoBuffer = 0;
    return SoundFailed;
  }
  segment->downloadedTo = performance;
  performance->references++;
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
  if (!Use(path->performance)) return SoundNotReady;
  path->gain = GainOf(std::clamp(hundredthsOfDecibel, MinVolume, 0));
  for (const SoundVoice& voice : path->voices) alSourcef(voice.source, AL_GAIN, path->gain);
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
  if (!params || params->dwSize != sizeof(SoundBufferParams)) return SoundInvalidParam;
  const SoundBufferParams& b = *params;
  if (!Finite(b.vPosition) || !Finite(b.vVelocity) || !Finite(b.vConeOrientation) ||
      !(b.flMinDistance > 0.0f) || !(b.flMaxDistance > 0.0f) || !std::isfinite(b.flMaxDistance) ||
      b.dwInsideConeAngle > 360 || b.dwOutsideConeAngle > 360 || b.dwMode > Sound3DModeDisable) {
    return SoundInvalidParam;
  }
  if (!Use(buffer->path->performance)) return SoundNotReady;
  buffer->path->params = b;
  PlaceVoices(buffer->path);
  return SoundOk;
}

int SetPosition(Sound3DBuffer* buffer, float x, float y, float z) {
  if (!buffer) return SoundNoObject;
  if (!Finite({x, y, z})) return SoundInvalidParam;
  if (!Use(buffer->path->performance)) return SoundNotReady;
  SoundAudioPath* path = buffer->path;
  path->params.vPosition = {x, y, z};
  if (path->params.dwMode == Sound3DModeDisable) return SoundOk;  // stays centred
  for (const SoundVoice& voice : path->voices) alSource3f(voice.source, AL_POSITION, x, y, -z);
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
  if (!params || params->dwSize != sizeof(SoundListenerParams)) return SoundInvalidParam;
  const SoundListenerParams& l = *params;
  if (!Finite(l.vPosition) || !Finite(l.vVelocity) || !Finite(l.vOrientFront) || !Finite(l.vOrientTop) ||
      !(l.flDistanceFactor > 0.0f) || !std::isfinite(l.flDistanceFactor) || !(l.flRolloffFactor >= 0.0f) ||
      !std::isfinite(l.flRolloffFactor) || !(l.flDopplerFactor >= 0.0f) || !std::isfinite(l.flDopplerFactor)) {
    return SoundInvalidParam;
  }
  if (!Use(listener->performance)) return SoundNotReady;
  listener->performance->listener = l;
  PlaceListener(listener->performance);
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
  if (performance && Use(performance)) {
    StopVoicesOf(performance, segment, true);
    if (performance->primary == segment) performance->primary = nullptr;
    if (segment->monoBuffer != segment->buffer) alDeleteBuffers(1, &segment->monoBuffer);
    alDeleteBuffers(1, &segment->buffer);
  }
  delete segment;
  if (performance) Release(performance);
  return 0;
}

int Release(SoundAudioPath* path) {
  if (!path) return SoundNoObject;
  if (--path->references > 0) return path->references;
  SoundPerformance* performance = path->performance;
  if (Use(performance)) {
    for (SoundVoice& voice : path->voices) {
      alSourceStop(voice.source);
      alDeleteSources(1, &voice.source);
    }
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

// ---- loopback output for tests ----

void UseLoopbackOutput(bool on, int sampleRate) {
  loopbackWanted = on;
  loopbackRate = sampleRate;
}

int RenderLoopbackOutput(SoundPerformance* performance, float* samples, int frames) {
  if (!performance) return SoundNoObject;
  if (!performance->loopback || !performance->device) return SoundNotReady;
  if (!samples || frames < 0) return SoundInvalidParam;
  auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
      alcGetProcAddress(performance->device, "alcRenderSamplesSOFT"));
  if (!render) return SoundFailed;
  render(performance->device, samples, frames);
  return SoundOk;
}

void CloseAllSoundOutputs() {
  while (!openOutputs.empty()) CloseOutput(openOutputs.back());
}

void PauseSoundOutputs(bool paused) {
  auto pause = reinterpret_cast<LPALCDEVICEPAUSESOFT>(alcGetProcAddress(nullptr, "alcDevicePauseSOFT"));
  auto resume = reinterpret_cast<LPALCDEVICERESUMESOFT>(alcGetProcAddress(nullptr, "alcDeviceResumeSOFT"));
  if (!pause || !resume) return;
  for (SoundPerformance* performance : openOutputs) {
    if (!performance->device || performance->loopback) continue;
    if (paused)
      pause(performance->device);
    else
      resume(performance->device);
  }
}
