// Wave files, rendering and level measures for the sound tests.
#include "audio_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

std::vector<int16_t> Tone(float seconds, float amplitude, float frequency, float toneSeconds) {
  size_t frames = static_cast<size_t>(seconds * TestRate);
  size_t toneFrames = toneSeconds < 0.0f ? frames : static_cast<size_t>(toneSeconds * TestRate);
  std::vector<int16_t> samples(frames, 0);
  for (size_t i = 0; i < std::min(frames, toneFrames); ++i) {
    double phase = 2.0 * M_PI * frequency * static_cast<double>(i) / TestRate;
    samples[i] = static_cast<int16_t>(std::lround(amplitude * 32767.0 * std::sin(phase)));
  }
  return samples;
}

namespace {
void Put(std::FILE* file, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((value >> (8 * i)) & 0xFF), file);
}
}  // namespace

void WriteWave(const std::string& path, const std::vector<int16_t>& samples, int channels) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::fwrite("RIFF", 1, 4, file);
  Put(file, 36 + dataBytes, 4);
  std::fwrite("WAVEfmt ", 1, 8, file);
  Put(file, 16, 4);
  Put(file, 1, 2);  // PCM
  Put(file, static_cast<uint32_t>(channels), 2);
  Put(file, TestRate, 4);
  Put(file, static_cast<uint32_t>(TestRate * channels * 2), 4);
  Put(file, static_cast<uint32_t>(channels * 2), 2);
  Put(file, 16, 2);
  std::fwrite("data", 1, 4, file);
  Put(file, dataBytes, 4);
  for (int16_t s : samples) Put(file, static_cast<uint16_t>(s), 2);
  std::fclose(file);
}

void WriteAllSounds(const std::string& dir) {
  for (const char* name : {"rain.wav", "ambient.wav", "wind.wav", "whistle.wav", "pop.wav"}) {
    WriteWave(dir + "/" + name, Tone(0.5f, 0.25f));
  }
}

std::vector<float> Render(SoundPerformance* performance, float seconds) {
  int frames = static_cast<int>(seconds * TestRate);
  std::vector<float> samples(static_cast<size_t>(frames) * 2, 0.0f);
  EXPECT_GE(RenderLoopbackOutput(performance, samples.data(), frames), 0);
  return samples;
}

double Rms(const std::vector<float>& stereo, Side side, float from, float to) {
  size_t frames = stereo.size() / 2;
  size_t first = std::min(frames, static_cast<size_t>(from * TestRate));
  size_t last = std::min(frames, static_cast<size_t>(to * TestRate));
  double sum = 0.0;
  size_t count = 0;
  for (size_t i = first; i < last; ++i) {
    for (int c = 0; c < 2; ++c) {
      if ((side == Side::Left && c == 1) || (side == Side::Right && c == 0)) continue;
      double s = stereo[2 * i + c];
      sum += s * s;
      ++count;
    }
  }
  return count ? std::sqrt(sum / count) : 0.0;
}

double Decibels(double level, double reference) { return 20.0 * std::log10(level / reference); }
