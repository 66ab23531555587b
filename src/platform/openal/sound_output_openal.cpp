// The sound engine's output over OpenAL (OpenAL Soft on Linux, Emscripten's on Web Audio):
// a device is an OpenAL device and its context, a voice an OpenAL source, a downloaded
// file's sound one or two OpenAL buffers that every segment of that file plays from.
// What needs OpenAL Soft's extensions is in each back-end's openal_extensions.cpp; the
// engine's objects themselves are in sound_objects.cpp.
#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>

#include "platform/openal/openal_extensions.h"
#include "platform/sound_output.h"

struct OutputWave;

struct OutputDevice {
  ALCdevice* device;
  ALCcontext* context;
  bool loopback;
  std::vector<OutputWave*> waves;  // downloaded, one for each file's sound
};

struct OutputVoice {
  ALuint source;
};

// A file's buffers, as in the file and mixed down, shared by the segments loaded from it.
struct OutputWave {
  ALuint buffer;
  ALuint monoBuffer;  // equals buffer for mono files
  const LoadedWave* from;
  int segments;  // downloaded segments that play from it
};

namespace {
constexpr float SpeedOfSound = 343.3f;  // metres per second

ALCcontext* currentContext = nullptr;

// Makes the device's context current for the OpenAL calls that follow.
void Use(const OutputDevice* device) {
  if (currentContext != device->context) {
    alcMakeContextCurrent(device->context);
    currentContext = device->context;
  }
}

bool MakeBuffer(ALuint* buffer, const std::vector<int16_t>& samples, int channels, int rate) {
  alGetError();
  alGenBuffers(1, buffer);
  if (alGetError() != AL_NO_ERROR) return false;
  CountOutputObjectMade();
  alBufferData(*buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, samples.data(),
               static_cast<ALsizei>(samples.size() * sizeof(int16_t)), rate);
  if (alGetError() == AL_NO_ERROR) return true;
  alDeleteBuffers(1, buffer);
  *buffer = 0;
  return false;
}

OutputDevice* OpenLoopback(int sampleRate) {
  ALCcontext* context = nullptr;
  ALCdevice* device = OpenLoopbackDevice(sampleRate, &context);
  return device ? new OutputDevice{device, context, true, {}} : nullptr;
}
}  // namespace

OutputDevice* OpenOutputDevice(bool loopback, int sampleRate) {
  OutputDevice* opened = nullptr;
  if (loopback) {
    opened = OpenLoopback(sampleRate);
  } else if (ALCdevice* device = alcOpenDevice(nullptr)) {
    opened = new OutputDevice{device, alcCreateContext(device, nullptr), false, {}};
  }
  if (opened && !opened->context) {
    CloseOutputDevice(opened);
    return nullptr;
  }
  if (opened) {
    Use(opened);
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
  }
  return opened;
}

void CloseOutputDevice(OutputDevice* device) {
  if (device->context) {
    if (currentContext == device->context) {
      alcMakeContextCurrent(nullptr);
      currentContext = nullptr;
    }
    alcDestroyContext(device->context);
  }
  alcCloseDevice(device->device);
  delete device;
}

// Turns the engine's left-handed space back into OpenAL's right-handed one (z negated).
void PlaceOutputListener(OutputDevice* device, const SoundListenerParams& l) {
  Use(device);
  alListener3f(AL_POSITION, l.vPosition.x, l.vPosition.y, -l.vPosition.z);
  alListener3f(AL_VELOCITY, l.vVelocity.x, l.vVelocity.y, -l.vVelocity.z);
  const float orientation[6] = {l.vOrientFront.x, l.vOrientFront.y, -l.vOrientFront.z,
                                l.vOrientTop.x,   l.vOrientTop.y,   -l.vOrientTop.z};
  alListenerfv(AL_ORIENTATION, orientation);
  alDopplerFactor(l.flDopplerFactor);
  alSpeedOfSound(SpeedOfSound / l.flDistanceFactor);
}

OutputWave* DownloadToOutput(OutputDevice* device, const SoundSegment* segment) {
  for (OutputWave* shared : device->waves) {
    if (shared->from == segment->loaded.get()) {
      shared->segments++;
      return shared;
    }
  }
  Use(device);
  const WaveSamples& wave = segment->wave;
  OutputWave made{0, 0, segment->loaded.get(), 1};
  if (!MakeBuffer(&made.buffer, wave.samples, wave.channels, wave.sampleRate)) return nullptr;
  made.monoBuffer = made.buffer;
  if (wave.channels == 2 && !MakeBuffer(&made.monoBuffer, segment->mono, 1, wave.sampleRate)) {
    alDeleteBuffers(1, &made.buffer);
    return nullptr;
  }
  device->waves.push_back(new OutputWave{made});
  return device->waves.back();
}

void FreeOutputWave(OutputDevice* device, OutputWave* wave) {
  if (--wave->segments > 0) return;
  std::erase(device->waves, wave);
  Use(device);
  if (wave->monoBuffer != wave->buffer) alDeleteBuffers(1, &wave->monoBuffer);
  alDeleteBuffers(1, &wave->buffer);
  delete wave;
}

// A source takes any buffer as it starts: the segment asks for nothing more here.
OutputVoice* MakeOutputVoice(OutputDevice* device, const SoundAudioPath*, const SoundSegment*) {
  Use(device);
  alGetError();
  ALuint source = 0;
  alGenSources(1, &source);
  if (alGetError() != AL_NO_ERROR) return nullptr;
  CountOutputObjectMade();
  return new OutputVoice{source};
}

void FreeOutputVoice(OutputDevice* device, OutputVoice* voice) {
  Use(device);
  alSourceStop(voice->source);
  alDeleteSources(1, &voice->source);
  delete voice;
}

bool StartOutputVoice(OutputDevice* device, OutputVoice* voice, const SoundSegment* segment,
                      const SoundAudioPath* path) {
  const OutputWave* wave = segment->output;
  Use(device);
  ALuint source = voice->source;
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, 0);
  // Mono and 3D paths have a buffer of one channel: a stereo file plays there mixed down.
  ALuint buffer = path->type == SoundPathType::SharedStereoPlusReverb ? wave->buffer : wave->monoBuffer;
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
  alSourcePlay(source);
  return true;
}

void StopOutputVoice(OutputDevice* device, OutputVoice* voice, bool detach) {
  Use(device);
  alSourceStop(voice->source);
  if (detach) alSourcei(voice->source, AL_BUFFER, 0);
}

bool OutputVoicePlays(OutputDevice* device, OutputVoice* voice) {
  Use(device);
  ALint state = AL_STOPPED;
  alGetSourcei(voice->source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

// Centred and listener-relative for mono paths; in the world for 3D paths.
void PlaceOutputVoice(OutputDevice* device, OutputVoice* voice, const SoundAudioPath* path) {
  Use(device);
  ALuint source = voice->source;
  alSourcef(source, AL_GAIN, GainOf(path->volume));
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

void MoveOutputVoice(OutputDevice* device, OutputVoice* voice, SoundVector p) {
  Use(device);
  alSource3f(voice->source, AL_POSITION, p.x, p.y, -p.z);
}

bool RenderOutput(OutputDevice* device, float* samples, int frames) {
  return device->loopback && RenderLoopbackDevice(device->device, samples, frames);
}

void PauseOutputDevice(OutputDevice* device, bool paused) {
  if (!device->loopback) PauseDevice(device->device, paused);
}
