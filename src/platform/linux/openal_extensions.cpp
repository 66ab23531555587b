// OpenAL Soft's extensions for the sound output: the loopback device and pausing.
#include "platform/openal/openal_extensions.h"

#include <AL/alext.h>

ALCdevice* OpenLoopbackDevice(int sampleRate, ALCcontext** context) {
  auto openLoopback =
      reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  ALCdevice* device = openLoopback ? openLoopback(nullptr) : nullptr;
  if (!device) return nullptr;
  const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                               ALC_STEREO_SOFT,
                               ALC_FORMAT_TYPE_SOFT,
                               ALC_FLOAT_SOFT,
                               ALC_FREQUENCY,
                               sampleRate,
                               ALC_HRTF_SOFT,
                               ALC_FALSE,
                               0};
  *context = alcCreateContext(device, attributes);
  return device;
}

bool RenderLoopbackDevice(ALCdevice* device, float* samples, int frames) {
  auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(device, "alcRenderSamplesSOFT"));
  if (!render) return false;
  render(device, samples, frames);
  return true;
}

void PauseDevice(ALCdevice* device, bool paused) {
  auto pause = reinterpret_cast<LPALCDEVICEPAUSESOFT>(alcGetProcAddress(nullptr, "alcDevicePauseSOFT"));
  auto resume = reinterpret_cast<LPALCDEVICERESUMESOFT>(alcGetProcAddress(nullptr, "alcDeviceResumeSOFT"));
  if (!pause || !resume) return;
  paused ? pause(device) : resume(device);
}
