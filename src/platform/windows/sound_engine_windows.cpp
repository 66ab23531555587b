// The sound engine's output over DirectSound 8: a device is a DirectSound object with
// the 3D listener of its primary buffer, a downloaded segment one buffer of its samples for
// each kind of path that plays it (made once), a voice a duplicate of one of those (a 3D
// buffer on 3D paths) sharing its samples. Voices are made at set-up, so that starting
// and stopping only start and stop. DirectSound's 3D space is left-handed like the
// engine's, so positions pass unchanged.
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <dsound.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/sound_output.h"
#include "platform/windows/main_window.h"

struct OutputDevice {
  IDirectSound8* sound;
  IDirectSoundBuffer* primary;
  IDirectSound3DListener* listener;
};

struct OutputVoice {
  IDirectSoundBuffer* buffer;      // null while the voice holds no segment
  IDirectSound3DBuffer* buffer3D;  // on 3D paths
  const SoundSegment* holds;       // the segment whose samples the buffer holds, or null
  int plays;                       // times the samples stand in the buffer, one after another
};

// The kinds of buffer a path plays from: the samples as in the file (the stereo path),
// mixed down to one channel (mono paths), and that in a 3D buffer (3D paths).
enum WaveKind { AsInFile, MixedDown, Positioned, WaveKinds };

// The segment's samples once for each kind, made as the first voice of that kind is.
struct OutputWave {
  IDirectSoundBuffer* kinds[WaveKinds];
};

static_assert(sizeof(DS3DBUFFER) == sizeof(SoundBufferParams) &&
              offsetof(DS3DBUFFER, dwMode) == offsetof(SoundBufferParams, dwMode));
static_assert(sizeof(DS3DLISTENER) == sizeof(SoundListenerParams) &&
              offsetof(DS3DLISTENER, flDopplerFactor) == offsetof(SoundListenerParams, flDopplerFactor));

namespace {
// Hundredths of a decibel: where OpenAL Soft's stereo mix puts a centred source on each
// side. DirectSound plays a centred buffer at full level on both, so the centred paths
// are turned down by this much to sound as loud as on Linux.
constexpr LONG CentredLevel = -450;

template <typename Object>
void ReleaseOnce(Object*& object) {
  if (object) object->Release();
  object = nullptr;
}

// The window DirectSound answers to: the program's own once it stands (scene set-up
// runs after it is made), else the desktop. Every buffer plays with global focus, so
// either serves.
HWND CooperativeWindow() {
  HWND window = MainWindowHandle();
  return window ? window : GetDesktopWindow();
}

bool Centred(const SoundAudioPath* path) {
  return path->type == SoundPathType::DynamicMono ||
         (path->type == SoundPathType::Dynamic3D && path->params.dwMode == Sound3DModeDisable);
}

void Detach(OutputVoice* voice) {
  if (voice->buffer) voice->buffer->Stop();
  ReleaseOnce(voice->buffer3D);
  ReleaseOnce(voice->buffer);
  voice->holds = nullptr;
}

// A new buffer holding the samples `plays` times over, silence where they are shorter
// than the least DirectSound takes.
IDirectSoundBuffer* Fill(OutputDevice* device, const std::vector<int16_t>& samples, int channels, int rate, int plays,
                         bool positioned) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = static_cast<WORD>(channels);
  format.nSamplesPerSec = static_cast<DWORD>(rate);
  format.wBitsPerSample = 16;
  format.nBlockAlign = static_cast<WORD>(channels * 2);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  size_t once = samples.size() * sizeof(int16_t), copies = plays;
  if (once > DSBSIZE_MAX / copies) return nullptr;
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags =
      DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2 | (positioned ? DSBCAPS_CTRL3D : 0);
  desc.dwBufferBytes = static_cast<DWORD>(std::max<size_t>(once * copies, DSBSIZE_MIN));
  desc.lpwfxFormat = &format;
  IDirectSoundBuffer* buffer = nullptr;
  if (FAILED(device->sound->CreateSoundBuffer(&desc, &buffer, nullptr))) return nullptr;
  CountOutputObjectMade();
  void* first = nullptr;
  DWORD firstBytes = 0;
  if (FAILED(buffer->Lock(0, 0, &first, &firstBytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
    buffer->Release();
    return nullptr;
  }
  auto* bytes = static_cast<uint8_t*>(first);
  std::memset(bytes, 0, firstBytes);
  for (size_t copy = 0; copy < copies; ++copy) std::memcpy(bytes + copy * once, samples.data(), once);
  buffer->Unlock(first, firstBytes, nullptr, 0);
  return buffer;
}

WaveKind KindFor(const SoundSegment* segment, const SoundAudioPath* path) {
  if (path->type == SoundPathType::Dynamic3D) return Positioned;
  return &SamplesFor(segment, path) == &segment->wave.samples ? AsInFile : MixedDown;
}

// A buffer of the segment's samples for the path: a duplicate of the wave's buffer of its
// kind (made here the first time) where they stand once, else one of its own.
IDirectSoundBuffer* BufferFor(OutputDevice* device, const SoundSegment* segment, const SoundAudioPath* path,
                              int plays) {
  const std::vector<int16_t>& samples = SamplesFor(segment, path);
  int channels = &samples == &segment->wave.samples ? segment->wave.channels : 1;
  bool positioned = path->type == SoundPathType::Dynamic3D;
  int rate = segment->wave.sampleRate;
  if (plays > 1 || !segment->output) return Fill(device, samples, channels, rate, plays, positioned);
  IDirectSoundBuffer*& once = segment->output->kinds[KindFor(segment, path)];
  if (!once) once = Fill(device, samples, channels, rate, 1, positioned);
  IDirectSoundBuffer* duplicate = nullptr;
  if (!once || FAILED(device->sound->DuplicateSoundBuffer(once, &duplicate))) return nullptr;
  CountOutputObjectMade();
  return duplicate;
}

// Gives the voice the segment's samples, `plays` times over, placed as the path says.
bool Hold(OutputDevice* device, OutputVoice* voice, const SoundSegment* segment, const SoundAudioPath* path,
          int plays) {
  Detach(voice);
  voice->buffer = BufferFor(device, segment, path, plays);
  if (!voice->buffer) return false;
  if (path->type == SoundPathType::Dynamic3D &&
      FAILED(voice->buffer->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&voice->buffer3D)))) {
    Detach(voice);
    return false;
  }
  voice->holds = segment;
  voice->plays = plays;
  PlaceOutputVoice(device, voice, path);
  return true;
}
}  // namespace

OutputDevice* OpenOutputDevice(bool loopback, int) {
  if (loopback) return nullptr;  // DirectSound renders to no memory of ours
  OutputDevice* device = new OutputDevice{};
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D;
  bool opened = SUCCEEDED(DirectSoundCreate8(nullptr, &device->sound, nullptr)) &&
                SUCCEEDED(device->sound->SetCooperativeLevel(CooperativeWindow(), DSSCL_NORMAL)) &&
                SUCCEEDED(device->sound->CreateSoundBuffer(&desc, &device->primary, nullptr)) &&
                SUCCEEDED(device->primary->QueryInterface(IID_IDirectSound3DListener,
                                                          reinterpret_cast<void**>(&device->listener)));
  if (opened) return device;
  CloseOutputDevice(device);
  return nullptr;
}

void CloseOutputDevice(OutputDevice* device) {
  ReleaseOnce(device->listener);
  ReleaseOnce(device->primary);
  ReleaseOnce(device->sound);
  delete device;
}

// DirectSound takes rolloff and Doppler factors up to 10.
void PlaceOutputListener(OutputDevice* device, const SoundListenerParams& l) {
  DS3DLISTENER record;
  std::memcpy(&record, &l, sizeof record);
  record.dwSize = sizeof record;
  record.flRolloffFactor = std::min(record.flRolloffFactor, DS3D_MAXROLLOFFFACTOR);
  record.flDopplerFactor = std::min(record.flDopplerFactor, DS3D_MAXDOPPLERFACTOR);
  device->listener->SetAllParameters(&record, DS3D_IMMEDIATE);
}

OutputWave* DownloadToOutput(OutputDevice*, const SoundSegment*) { return new OutputWave{}; }

// The voices' duplicates keep the samples they share for as long as they need them.
void FreeOutputWave(OutputDevice*, OutputWave* wave) {
  for (IDirectSoundBuffer*& buffer : wave->kinds) ReleaseOnce(buffer);
  delete wave;
}

OutputVoice* MakeOutputVoice(OutputDevice* device, const SoundAudioPath* path, const SoundSegment* segment) {
  OutputVoice* voice = new OutputVoice{};
  if (segment) Hold(device, voice, segment, path, 1);  // tried again as it starts where this fails
  return voice;
}

void FreeOutputVoice(OutputDevice*, OutputVoice* voice) {
  Detach(voice);
  delete voice;
}

// DirectSound loops a whole buffer: an endless loop plays the samples once over and over,
// a finite count of plays stands in the buffer that many times (a buffer of its own; the
// program asks for none).
bool StartOutputVoice(OutputDevice* device, OutputVoice* voice, const SoundSegment* segment,
                      const SoundAudioPath* path) {
  bool loops = segment->repeats == SoundRepeatInfinite;
  int plays = loops ? 1 : static_cast<int>(std::min<uint32_t>(segment->repeats, MaxQueuedPlays - 1)) + 1;
  if ((!voice->buffer || voice->holds != segment || voice->plays != plays) &&
      !Hold(device, voice, segment, path, plays))
    return false;
  voice->buffer->Stop();
  voice->buffer->SetCurrentPosition(0);
  return SUCCEEDED(voice->buffer->Play(0, 0, loops ? DSBPLAY_LOOPING : 0));
}

void StopOutputVoice(OutputDevice*, OutputVoice* voice, bool detach) {
  if (detach) {
    Detach(voice);
  } else if (voice->buffer) {
    voice->buffer->Stop();
  }
}

bool OutputVoicePlays(OutputDevice*, OutputVoice* voice) {
  DWORD status = 0;
  return voice->buffer && SUCCEEDED(voice->buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
}

void PlaceOutputVoice(OutputDevice*, OutputVoice* voice, const SoundAudioPath* path) {
  if (!voice->buffer) return;  // placed when it first plays
  LONG volume = path->volume + (Centred(path) ? CentredLevel : 0);
  voice->buffer->SetVolume(std::max<LONG>(volume, DSBVOLUME_MIN));
  if (!voice->buffer3D) return;
  DS3DBUFFER record;
  std::memcpy(&record, &path->params, sizeof record);
  record.dwSize = sizeof record;
  record.lConeOutsideVolume = std::clamp<LONG>(record.lConeOutsideVolume, DSBVOLUME_MIN, 0);
  voice->buffer3D->SetAllParameters(&record, DS3D_IMMEDIATE);
}

void MoveOutputVoice(OutputDevice*, OutputVoice* voice, SoundVector p) {
  if (voice->buffer3D) voice->buffer3D->SetPosition(p.x, p.y, p.z, DS3D_IMMEDIATE);
}

bool RenderOutput(OutputDevice*, float*, int) { return false; }

// Message boxes here stop no sound thread of ours: nothing to pause.
void PauseOutputDevice(OutputDevice*, bool) {}
