// Wave files, rendering and level measures for the sound tests.
#include "audio_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "audio/audio_setup.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

std::vector<int16_t> Tone(float seconds, float toneSeconds, float amplitude) {
  std::vector<int16_t> samples(static_cast<size_t>(seconds * TestRate), 0);
  size_t toneFrames = toneSeconds < 0.0f ? samples.size() : static_cast<size_t>(toneSeconds * TestRate);
  for (size_t i = 0; i < std::min(samples.size(), toneFrames); ++i)
    samples[i] = static_cast<int16_t>(std::lround(amplitude * 32767.0 * std::sin(2.0 * M_PI * 440.0 * i / TestRate)));
  return samples;
}

void WriteWave(const std::string& path, const std::vector<int16_t>& samples, int channels) {
  std::string bytes;
  auto put = [&](uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2), frameBytes = static_cast<uint32_t>(channels * 2);
  bytes += "RIFF";
  put(36 + dataBytes, 4);
  bytes += "WAVEfmt ";
  // Format chunk: size, PCM, channels, rate, bytes a second, bytes a frame, bits.
  const std::pair<uint32_t, int> format[] = {{16, 4}, {1, 2}, {static_cast<uint32_t>(channels), 2}, {TestRate, 4},
                                             {TestRate * frameBytes, 4}, {frameBytes, 2}, {16, 2}};
  for (auto [value, count] : format) put(value, count);
  bytes += "data";
  put(dataBytes, 4);
  for (int16_t s : samples) put(static_cast<uint16_t>(s), 2);
  std::ofstream(path, std::ios::binary) << bytes;
}

void WriteAllSounds(const std::string& dir) {
  for (const char* name : {"rain.wav", "ambient.wav", "wind.wav", "whistle.wav", "pop.wav"})
    WriteWave(dir + "/" + name, Tone(0.5f));
}

std::vector<float> Render(SoundPerformance* performance, float seconds) {
  int frames = static_cast<int>(seconds * TestRate);
  std::vector<float> samples(static_cast<size_t>(frames) * 2, 0.0f);
  EXPECT_GE(RenderLoopbackOutput(performance, samples.data(), frames), 0);
  return samples;
}

double Rms(const std::vector<float>& stereo, Side side, float from, float to) {
  size_t frames = stereo.size() / 2;
  size_t first = std::min(frames, static_cast<size_t>(from * TestRate)), last = std::min(frames, static_cast<size_t>(to * TestRate));
  double sum = 0.0;
  size_t count = 0;
  for (size_t i = 2 * first; i < 2 * last; ++i) {
    if ((side == Side::Left && i % 2) || (side == Side::Right && i % 2 == 0)) continue;
    sum += static_cast<double>(stereo[i]) * stereo[i];
    ++count;
  }
  return count ? std::sqrt(sum / count) : 0.0;
}

double Decibels(double level, double reference) { return 20.0 * std::log10(level / reference); }

SoundBufferParams ParamsOf(Sound3DBuffer* buffer) {
  SoundBufferParams params{};
  params.dwSize = 64;
  EXPECT_GE(GetAllParameters(buffer, &params), 0);
  return params;
}

SoundListenerParams ParamsOf(SoundListener* listener) {
  SoundListenerParams params{};
  params.dwSize = 64;
  EXPECT_GE(GetAllParameters(listener, &params), 0);
  return params;
}

void AudioTest::SetUp() {
  dir = MakeTempDir();
  WriteAllSounds(dir);
  previousDir = ChangeDir(dir);
  UseLoopbackOutput(true, TestRate);
  StartRecordingMessageBoxes();
}

void AudioTest::TearDown() {
  StopRecordingMessageBoxes();
  ChangeDir(previousDir);
}

void AudioTest::Write(const char* name, const std::vector<int16_t>& samples, int channels) {
  WriteWave(dir + "/" + name, samples, channels);
}

std::vector<float> AudioTest::Frames(float seconds, const std::function<void()>& operations) {
  std::vector<float> heard;
  for (int frame = 0; frame < static_cast<int>(seconds * 100 + 0.5f); ++frame) {
    operations();
    std::vector<float> out = Render(Performance, 0.01f);
    heard.insert(heard.end(), out.begin(), out.end());
  }
  return heard;
}
