// Wave files: our own small RIFF reader, the same on every system, giving 16-bit samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct WaveSamples {
  std::vector<int16_t> samples;  // interleaved when stereo
  int channels = 0;              // 1 or 2
  int sampleRate = 0;            // samples per second
};

// Rates a wave may have: what every output we play on takes.
constexpr int MinWaveRate = 100;     // samples per second
constexpr int MaxWaveRate = 200000;  // samples per second

// The longest sound a file may hold: ten minutes of 48 kHz stereo, 115.2 MB as 16-bit samples.
constexpr uint64_t MaxWaveSamples = 600ull * 48000 * 2;

// Reads a RIFF WAVE file (its name's bytes, as the system takes them) of integer PCM (8, 16,
// 24 or 32 bits, also as WAVE_FORMAT_EXTENSIBLE) or 32-bit float, one or two channels.
// False, with `wave` untouched, when there is nothing to play: no regular file, no wave, more
// than MaxWaveSamples, or a data chunk that ends more than a frame early (a last frame cut
// short is dropped).
bool ReadWaveFile(const char* path, WaveSamples* wave);

// Left and right averaged, for the one-channel paths.
std::vector<int16_t> MixedToMono(const std::vector<int16_t>& stereo);
