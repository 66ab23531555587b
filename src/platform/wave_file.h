// Wave files: our own small RIFF reader, the same on every system, giving 16-bit samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct WaveSamples {
  std::vector<int16_t> samples;  // interleaved when stereo
  int channels = 0;              // 1 or 2
  int sampleRate = 0;            // samples per second
};

// Rates a wave may have: what every output we play on takes.
constexpr int MinWaveRate = 100;     // samples per second
constexpr int MaxWaveRate = 200000;  // samples per second

// Reads a RIFF WAVE file (UTF-8 path) of integer PCM (8, 16, 24 or 32 bits, also as
// WAVE_FORMAT_EXTENSIBLE) or 32-bit float, one or two channels. A data chunk cut short
// keeps its whole frames. False, with `wave` untouched, when there is nothing to play.
bool ReadWaveFile(const std::string& path, WaveSamples* wave);
// The same for the file's bytes.
bool DecodeWave(const uint8_t* bytes, size_t size, WaveSamples* wave);

// Left and right averaged, for the one-channel paths.
std::vector<int16_t> MixedToMono(const std::vector<int16_t>& stereo);
