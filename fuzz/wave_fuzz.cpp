// Feeds arbitrary bytes, as a file, to the WAV reader: it must either give some whole frames
// of one or two channels at a playable rate, no more than the longest sound it takes, or fail
// and leave the wave as it was.
#include <cstdint>

#include <sanitizer/asan_interface.h>

#include "as_file.h"
#include "platform/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  WaveSamples wave;
  wave.channels = 7;  // a mark that a failed read must leave
  if (!ReadWaveFile(AsFile(bytes, size), &wave)) {
    if (wave.channels != 7 || !wave.samples.empty()) __builtin_trap();
    return 0;
  }
  if (wave.channels < 1 || wave.channels > 2 || wave.sampleRate < MinWaveRate || wave.sampleRate > MaxWaveRate ||
      wave.samples.empty() || wave.samples.size() % wave.channels != 0 || wave.samples.size() > MaxWaveSamples) {
    __builtin_trap();
  }
  if (__asan_region_is_poisoned(wave.samples.data(), wave.samples.size() * sizeof(int16_t))) __builtin_trap();
  return 0;
}
