// TEMPORARY: a silent sound engine that links the Windows build until the DirectSound
// engine (sound_engine_windows.cpp) is merged; every call succeeds and nothing sounds.
#include "platform/sound_engine.h"

struct SoundPerformance {};
struct SoundLoader {};
struct SoundSegment {};
struct SoundAudioPath {};
struct Sound3DBuffer {};
struct SoundListener {};

namespace {
SoundPerformance performanceObject;
SoundLoader loaderObject;
SoundSegment segmentObject;
SoundAudioPath pathObject;
Sound3DBuffer bufferObject;
SoundListener listenerObject;
}  // namespace

int CreatePerformance(SoundPerformance** performance) { *performance = &performanceObject; return SoundOk; }
int InitAudio(SoundPerformance*, SoundPathType, int) { return SoundOk; }
int CreateStandardAudioPath(SoundPerformance*, SoundPathType, int, bool, SoundAudioPath** path) {
  *path = &pathObject;
  return SoundOk;
}
int PlaySegmentEx(SoundPerformance*, SoundSegment*, uint32_t, int64_t, SoundAudioPath*) { return SoundOk; }
int StopEx(SoundPerformance*, SoundSegment*, int64_t, uint32_t) { return SoundOk; }
int IsPlaying(SoundPerformance*, SoundSegment*) { return SoundFalse; }
int CreateLoader(SoundLoader** loader) { *loader = &loaderObject; return SoundOk; }
int SetSearchDirectory(SoundLoader*, const char*, bool) { return SoundOk; }
int LoadObjectFromFile(SoundLoader*, const char*, SoundSegment** segment) { *segment = &segmentObject; return SoundOk; }
int Download(SoundSegment*, SoundPerformance*) { return SoundOk; }
int SetRepeats(SoundSegment*, uint32_t) { return SoundOk; }
int GetObjectInPath(SoundAudioPath*, Sound3DBuffer** buffer) { *buffer = &bufferObject; return SoundOk; }
int GetObjectInPath(SoundAudioPath*, SoundListener** listener) { *listener = &listenerObject; return SoundOk; }
int SetVolume(SoundAudioPath*, int32_t, uint32_t) { return SoundOk; }
int GetAllParameters(Sound3DBuffer*, SoundBufferParams* params) { *params = {64, {}, {}, 0, 0, {}, 0, 1, 1e9f, 0}; return SoundOk; }
int SetAllParameters(Sound3DBuffer*, const SoundBufferParams*) { return SoundOk; }
int SetPosition(Sound3DBuffer*, float, float, float) { return SoundOk; }
int GetAllParameters(SoundListener*, SoundListenerParams* params) { *params = {64, {}, {}, {}, {}, 1, 1, 1}; return SoundOk; }
int SetAllParameters(SoundListener*, const SoundListenerParams*) { return SoundOk; }
int Release(SoundPerformance*) { return SoundOk; }
int Release(SoundLoader*) { return SoundOk; }
int Release(SoundSegment*) { return SoundOk; }
int Release(SoundAudioPath*) { return SoundOk; }
int Release(Sound3DBuffer*) { return SoundOk; }
int Release(SoundListener*) { return SoundOk; }
void CloseAllSoundOutputs() {}
void PauseSoundOutputs(bool) {}
void UseLoopbackOutput(bool, int) {}
int RenderLoopbackOutput(SoundPerformance*, float*, int) { return SoundFailed; }
