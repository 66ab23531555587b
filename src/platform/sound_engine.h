// The sound engine: a performance (output device), a loader, wave segments, audio
// paths, 3D buffers and the listener, over the system's sound output (OpenAL Soft on
// Linux, DirectSound on Windows). Results: 0 or more is success, negative is failure.
// The engine's space is left-handed (callers negate z).
#pragma once

#include <cstdint>

// Handles to engine objects. Each holds one reference, dropped by Release.
struct SoundPerformance;
struct SoundLoader;
struct SoundSegment;
struct SoundAudioPath;
struct Sound3DBuffer;
struct SoundListener;

// Results.
constexpr int SoundOk = 0;
constexpr int SoundFalse = 1;  // success with the answer "no" (IsPlaying: not playing)
constexpr int SoundFailed = -1;
constexpr int SoundNoObject = -2;      // a handle that is needed is missing
constexpr int SoundNotReady = -3;      // the performance has no output device
constexpr int SoundFileFailed = -4;    // a file is missing or is no wave the engine reads
constexpr int SoundInvalidParam = -5;  // a record with the wrong size, or a bad value

// Audio path types.
enum class SoundPathType { SharedStereoPlusReverb, DynamicMono, Dynamic3D };

// PlaySegmentEx flags.
constexpr uint32_t SoundSegmentSecondary = 0x80;  // mixes over the primary segment
constexpr uint32_t SoundSegmentDefault = 0x4000;  // at the segment's default boundary: at once for waves

// SetRepeats: loop until stopped.
constexpr uint32_t SoundRepeatInfinite = 0xFFFFFFFF;

// 3D buffer modes.
constexpr uint32_t Sound3DModeNormal = 0;        // positioned in the world
constexpr uint32_t Sound3DModeHeadRelative = 1;  // positioned relative to the listener
constexpr uint32_t Sound3DModeDisable = 2;       // no 3D processing: centred, no distance fall-off

struct SoundVector {
  float x, y, z;
};

// The 3D buffer record: 64 bytes; dwSize must be 64 for Get/SetAllParameters.
struct SoundBufferParams {
  uint32_t dwSize;
  SoundVector vPosition;        // engine units
  SoundVector vVelocity;        // engine units per second
  uint32_t dwInsideConeAngle;   // degrees
  uint32_t dwOutsideConeAngle;  // degrees
  SoundVector vConeOrientation;
  int32_t lConeOutsideVolume;  // hundredths of a decibel
  float flMinDistance;         // engine units: full level up to here
  float flMaxDistance;         // engine units: no further fall-off beyond here
  uint32_t dwMode;
};
static_assert(sizeof(SoundBufferParams) == 64);

// The listener record: 64 bytes; dwSize must be 64 for Get/SetAllParameters.
struct SoundListenerParams {
  uint32_t dwSize;
  SoundVector vPosition;  // engine units
  SoundVector vVelocity;  // engine units per second
  SoundVector vOrientFront;
  SoundVector vOrientTop;
  float flDistanceFactor;  // metres per engine unit (Doppler only)
  float flRolloffFactor;   // applies to every 3D source
  float flDopplerFactor;
};
static_assert(sizeof(SoundListenerParams) == 64);

// Performance: made without a device; InitAudio opens the output and fails where none opens.
int CreatePerformance(SoundPerformance** performance);
int InitAudio(SoundPerformance* performance, SoundPathType defaultPathType, int channels);
int CreateStandardAudioPath(SoundPerformance* performance, SoundPathType type, int channels, bool activate,
                            SoundAudioPath** path);
// Starts the segment on the path from its beginning. Without SoundSegmentSecondary it
// becomes the primary segment and replaces the one before.
int PlaySegmentEx(SoundPerformance* performance, SoundSegment* segment, uint32_t flags, int64_t startTime,
                  SoundAudioPath* path);
// Stops every sounding of the segment at once.
int StopEx(SoundPerformance* performance, SoundSegment* segment, int64_t stopTime, uint32_t flags);
// SoundOk while one of the segment's soundings plays, SoundFalse when none does.
int IsPlaying(SoundPerformance* performance, SoundSegment* segment);

// Loader: bare file names resolve in the search directory. Names are the bytes the system
// takes (on Windows, of the ANSI code page).
int CreateLoader(SoundLoader** loader);
int SetSearchDirectory(SoundLoader* loader, const char* directory, bool clear);
// Loads a wave file into a new segment of its own.
int LoadObjectFromFile(SoundLoader* loader, const char* fileName, SoundSegment** segment);

// Segment.
int Download(SoundSegment* segment, SoundPerformance* performance);
int SetRepeats(SoundSegment* segment, uint32_t repeats);

// Audio path.
int GetObjectInPath(SoundAudioPath* path, Sound3DBuffer** buffer);  // 3D paths only
int GetObjectInPath(SoundAudioPath* path, SoundListener** listener);
int SetVolume(SoundAudioPath* path, int32_t hundredthsOfDecibel, uint32_t durationMilliseconds);

// 3D buffer.
int GetAllParameters(Sound3DBuffer* buffer, SoundBufferParams* params);
int SetAllParameters(Sound3DBuffer* buffer, const SoundBufferParams* params);
int SetPosition(Sound3DBuffer* buffer, float x, float y, float z);

// Listener.
int GetAllParameters(SoundListener* listener, SoundListenerParams* params);
int SetAllParameters(SoundListener* listener, const SoundListenerParams* params);

// Release: drops the one reference a handle holds.
int Release(SoundPerformance* performance);
int Release(SoundLoader* loader);
int Release(SoundSegment* segment);
int Release(SoundAudioPath* path);
int Release(Sound3DBuffer* buffer);
int Release(SoundListener* listener);

// At the program's end: closes every output device still open (objects kept for the
// whole run are not released one by one), so the system's sound is handed back cleanly.
void CloseAllSoundOutputs();

// Stops (true) or restarts (false) the mixing of every open output device; the
// sanitizer build does so while a message box is up (message_box.cpp says why).
void PauseSoundOutputs(bool paused);

// The test seam: while on, InitAudio opens a loopback device (stereo, 32-bit float,
// at the given rate) instead of the system's output, and the test renders it.
void UseLoopbackOutput(bool on, int sampleRate = 44100);
// Renders frames of interleaved left/right samples from a loopback performance.
int RenderLoopbackOutput(SoundPerformance* performance, float* samples, int frames);
// Buffers, sources and voices the system's output has been asked to make so far: set-up
// makes them all, playing and stopping none.
int SoundOutputObjectsMade();
