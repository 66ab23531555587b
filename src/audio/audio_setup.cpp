// Audio set-up: the engine, the rain, ambient and wind sounds, the listener; release on quit.
#include "audio/audio_setup.h"

#include <unistd.h>

#include "audio/firework_sounds.h"
#include "data/data_files.h"
#include "platform/message_box.h"

SoundPerformance* Performance = nullptr;
SoundLoader* Loader = nullptr;
SoundSegment* RainSegment = nullptr;
SoundSegment* AmbientSegment = nullptr;
SoundSegment* WindSegment = nullptr;
SoundAudioPath* RainPath = nullptr;
SoundAudioPath* AmbientPath = nullptr;
SoundAudioPath* WindPath = nullptr;
Sound3DBuffer* WindBuffer = nullptr;
SoundListener* Listener = nullptr;
SoundBufferParams WindBufferParams = {};
SoundListenerParams ListenerParams = {};

namespace {
constexpr int MaxPath = 260;          // characters, terminator included
char CurrentDirectory[MaxPath] = {};  // as the system gives it; empty when longer than MaxPath

constexpr int32_t AmbientVolume = -1000;  // hundredths of a decibel: -10 dB

// Loads a data file, by its bare name from the search directory when it is there; false when it fails.
bool Load(const char* fileName, SoundSegment** segment) {
  return LoadObjectFromFile(Loader, FindDataFile(fileName).c_str(), segment) >= 0;
}

bool MakePath(SoundPathType type, SoundAudioPath** path) {
  return CreateStandardAudioPath(Performance, type, AudioPathChannels, true, path) >= 0;
}

void CreateEngine() {
  // There is no COM to initialise here; the performance is made without a device.
  if (CreatePerformance(&Performance) < 0) {
    ShowMessageBox("CoCreateInstance(CLSID_DirectMusicPerformance) failed", "Error");
  }
  if (InitAudio(Performance, SoundPathType::SharedStereoPlusReverb, AudioPathChannels) < 0) {
    ShowMessageBox("InitAudio() failed", "Error");
  }
  if (CreateLoader(&Loader) < 0) ShowMessageBox("CoCreateInstance(CLSID_DirectMusicLoader failed", "error");
  if (!getcwd(CurrentDirectory, MaxPath)) CurrentDirectory[0] = '\0';
  SetSearchDirectory(Loader, CurrentDirectory, false);
}

void SetUpRain() {
  if (!Load(RainSoundFile, &RainSegment)) ShowMessageBox("LoadObjectFromFile() failed", "Error");
  if (!MakePath(SoundPathType::DynamicMono, &RainPath)) ShowMessageBox("No audiopath for rain", "error");
  Download(RainSegment, Performance);
}

// The ambient sound loops as the primary segment from now until the program ends.
void SetUpAmbient() {
  if (!Load(AmbientSoundFile, &AmbientSegment)) ShowMessageBox("ambient.wav", "Error");
  if (!MakePath(SoundPathType::DynamicMono, &AmbientPath)) {
    ShowMessageBox("no audio path making went well today", "error");
  }
  Download(AmbientSegment, Performance);
  SetVolume(AmbientPath, AmbientVolume, 0);
  SetRepeats(AmbientSegment, SoundRepeatInfinite);
  PlaySegmentEx(Performance, AmbientSegment, SoundSegmentDefault, 0, AmbientPath);
}

// The wind is a 3D source at the origin, full level up to 1 unit, no fall-off past 2000.
void SetUpWind() {
  if (!Load(WindSoundFile, &WindSegment)) ShowMessageBox("Wind.wav missing", "error");
  if (!MakePath(SoundPathType::Dynamic3D, &WindPath)) ShowMessageBox("Cant make Audio Path", "error");
  if (GetObjectInPath(WindPath, &WindBuffer) < 0) ShowMessageBox("Cant make 3d sound buffer", "error");
  WindBufferParams.dwSize = sizeof(SoundBufferParams);
  GetAllParameters(WindBuffer, &WindBufferParams);
  WindBufferParams.dwMode = Sound3DModeNormal;
  SetAllParameters(WindBuffer, &WindBufferParams);
}

// The listener stands at the origin with a gentle rolloff and no Doppler.
void SetUpListener() {
  if (GetObjectInPath(WindPath, &Listener) < 0) ShowMessageBox("Cant Make DS listener", "blah");
  ListenerParams.dwSize = sizeof(SoundListenerParams);
  GetAllParameters(Listener, &ListenerParams);
  ListenerParams.vPosition = {0.0f, 0.0f, 0.0f};
  ListenerParams.flDopplerFactor = 0.0f;
  ListenerParams.flRolloffFactor = 0.1f;
  SetAllParameters(Listener, &ListenerParams);
}

void PlaceWind() {
  WindBufferParams.flMinDistance = 1.0f;
  WindBufferParams.flMaxDistance = 2000.0f;
  SetAllParameters(WindBuffer, &WindBufferParams);
  SetPosition(WindBuffer, 0.0f, 0.0f, 0.0f);
  Download(WindSegment, Performance);
}

// Releases one object, once, and empties its handle.
template <typename Object>
void ReleaseOnce(Object*& object) {
  if (object) Release(object);
  object = nullptr;
}
}  // namespace

void SetUpAudio() {
  CreateEngine();
  SetUpRain();
  SetUpAmbient();
  SetUpWind();
  SetUpListener();
  PlaceWind();
  SetUpFireworkSounds();
}

void ReleaseAudio() {
  ReleaseOnce(WindBuffer);
  ReleaseOnce(Listener);
  ReleaseOnce(AmbientPath);
  ReleaseOnce(RainPath);
  ReleaseOnce(WindPath);
  ReleaseOnce(AmbientSegment);
  ReleaseOnce(WindSegment);
  ReleaseOnce(RainSegment);
  ReleaseOnce(Loader);
  ReleaseOnce(Performance);
}

void ShutDownAudio() { CloseAllSoundOutputs(); }
