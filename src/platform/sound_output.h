// Inside the sound engine: its objects, which sound_objects.cpp keeps the same on every
// system, and the output they play on, which each system's back-end gives (OpenAL Soft
// on Linux, DirectSound on Windows). Only the engine's own files include this.
#pragma once

#include <memory>
#include <vector>

#include "platform/sound_engine.h"
#include "platform/wave_file.h"

struct OutputDevice;  // an open output: a device with its mixer and its one listener
struct OutputVoice;   // one sounding on a device
struct OutputWave;    // a downloaded segment's samples as the device keeps them

// A path's sounding of a segment.
struct SoundVoice {
  OutputVoice* output;    // null once the device has closed
  SoundSegment* segment;  // the segment it holds, or null
};

struct SoundPerformance {
  int references;
  OutputDevice* device;          // null until InitAudio succeeds, and again once closed
  SoundListenerParams listener;  // engine space
  std::vector<SoundAudioPath*> paths;
  std::vector<SoundSegment*> segments;  // downloaded to it
  SoundSegment* primary;                // the primary segment, or null
};

// A wave file's sound, read once: every segment loaded from the file shares it.
struct LoadedWave {
  WaveSamples wave;
  std::vector<int16_t> mono;  // mixed down for mono and 3D paths; empty for mono files
};

struct SoundSegment {
  int references;
  std::shared_ptr<const LoadedWave> loaded;
  const WaveSamples& wave;           // loaded->wave
  const std::vector<int16_t>& mono;  // loaded->mono
  uint32_t repeats;
  SoundPerformance* downloadedTo;  // holds a reference, or null
  OutputWave* output;              // while downloaded to an open device, else null
};

struct SoundAudioPath {
  int references;
  SoundPerformance* performance;  // holds a reference
  SoundPathType type;
  int maxVoices;  // sounds at once, one per channel up to MaxVoicesPerPath
  bool active;
  int32_t volume;            // hundredths of a decibel, MinVolume to 0
  SoundBufferParams params;  // the path's 3D placement, engine space (3D paths)
  std::vector<SoundVoice> voices;
};

constexpr int MaxQueuedPlays = 64;    // a finite repeat count plays at most this many times
constexpr int32_t MinVolume = -9600;  // hundredths of a decibel: silence

float GainOf(int32_t hundredthsOfDecibel);

// The samples a voice of this path plays: as in the file on the stereo path, else one channel.
const std::vector<int16_t>& SamplesFor(const SoundSegment* segment, const SoundAudioPath* path);

// ---- what each back-end gives ----

// Opens the system's output, or a loopback one for the tests at the given rate; null
// where none opens.
OutputDevice* OpenOutputDevice(bool loopback, int sampleRate);
void CloseOutputDevice(OutputDevice* device);
// Hands the listener record over; its rolloff reaches every 3D voice.
void PlaceOutputListener(OutputDevice* device, const SoundListenerParams& listener);
// The segment's samples where the device plays them from; null when that fails.
OutputWave* DownloadToOutput(OutputDevice* device, const SoundSegment* segment);
void FreeOutputWave(OutputDevice* device, OutputWave* wave);
// A voice of the path, ready to play the segment: the engine makes one for each segment
// and path when both stand, so that starting and stopping make nothing. Null when none is left.
OutputVoice* MakeOutputVoice(OutputDevice* device, const SoundAudioPath* path, const SoundSegment* segment);
void FreeOutputVoice(OutputDevice* device, OutputVoice* voice);
// Plays the segment from its beginning, its repeat count as it stands now; false when it cannot.
bool StartOutputVoice(OutputDevice* device, OutputVoice* voice, const SoundSegment* segment,
                      const SoundAudioPath* path);
// Stops it; `detach` also lets go of the segment's samples.
void StopOutputVoice(OutputDevice* device, OutputVoice* voice, bool detach);
bool OutputVoicePlays(OutputDevice* device, OutputVoice* voice);
// Level and 3D placement as the path's record says.
void PlaceOutputVoice(OutputDevice* device, OutputVoice* voice, const SoundAudioPath* path);
void MoveOutputVoice(OutputDevice* device, OutputVoice* voice, SoundVector position);
// Each back-end counts here every buffer, source or voice it makes (SoundOutputObjectsMade).
void CountOutputObjectMade();
// Renders frames of the loopback device; false where the device is not one.
bool RenderOutput(OutputDevice* device, float* samples, int frames);
void PauseOutputDevice(OutputDevice* device, bool paused);
