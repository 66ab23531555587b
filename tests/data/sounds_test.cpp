// What the sounds do: loops that join without a jump, peaks at -1 dBFS without
// clipping, one-shots that start and end in silence, a whistle that rises.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "data_reading.h"

namespace {

WavSamples Sound(const char* name) { return ParseWav16(ReadWholeFile(BuiltDataPath(name))); }

// Sample `frame` of one channel.
int At(const WavSamples& wav, size_t frame, int channel) { return wav.samples[frame * wav.channels + channel]; }

size_t Frames(const WavSamples& wav) { return wav.samples.size() / wav.channels; }

double Rms(const WavSamples& wav, size_t first, size_t count, int channel) {
  double sum = 0.0;
  for (size_t i = first; i < first + count; ++i) sum += static_cast<double>(At(wav, i, channel)) * At(wav, i, channel);
  return std::sqrt(sum / count);
}

// Zero crossings per second of one channel between two times (seconds).
double CrossingRate(const WavSamples& wav, double from, double to) {
  size_t first = static_cast<size_t>(from * wav.rate), last = static_cast<size_t>(to * wav.rate);
  int crossings = 0;
  for (size_t i = first + 1; i < last; ++i) crossings += (At(wav, i - 1, 0) < 0) != (At(wav, i, 0) < 0);
  return crossings / (to - from);
}

}  // namespace

TEST(Sounds, PeaksSitOneDecibelBelowFullScaleWithoutClipping) {
  for (const char* name : {"ambient.wav", "rain.wav", "wind.wav", "whistle.wav", "pop.wav"}) {
    WavSamples wav = Sound(name);
    ASSERT_GT(wav.channels, 0) << name;
    int peak = 0;
    for (int16_t s : wav.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    double peakDb = 20.0 * std::log10(peak / 32767.0);
    EXPECT_NEAR(peakDb, -1.0, 1.0) << name;
    EXPECT_LT(peak, 32767) << name;
    // A clipped sound sits at its peak for many samples; ours touch it only briefly.
    size_t nearPeak = std::count_if(wav.samples.begin(), wav.samples.end(), [&](int16_t s) { return std::abs(s) > peak * 0.98; });
    EXPECT_LT(nearPeak, wav.samples.size() / 1000 + 4) << name;
  }
}

// Played end to start, a loop steps no further than it does inside, and is as loud
// just after the join as just before it.
TEST(Sounds, LoopsJoinWithoutAJumpOrALevelChange) {
  for (const char* name : {"ambient.wav", "rain.wav", "wind.wav"}) {
    WavSamples wav = Sound(name);
    ASSERT_GT(wav.channels, 0) << name;
    size_t frames = Frames(wav);
    size_t window = wav.rate / 20;  // 50 ms
    for (int c = 0; c < wav.channels; ++c) {
      int largestStep = 0;
      for (size_t i = 1; i < frames; ++i) largestStep = std::max(largestStep, std::abs(At(wav, i, c) - At(wav, i - 1, c)));
      EXPECT_LE(std::abs(At(wav, 0, c) - At(wav, frames - 1, c)), largestStep) << name << " channel " << c;
      double before = Rms(wav, frames - window, window, c);
      double after = Rms(wav, 0, window, c);
      EXPECT_NEAR(20.0 * std::log10(after / before), 0.0, 3.0) << name << " channel " << c;
    }
  }
}

TEST(Sounds, FireworkSoundsStartAndEndInSilence) {
  for (const char* name : {"whistle.wav", "pop.wav"}) {
    WavSamples wav = Sound(name);
    ASSERT_GT(wav.channels, 0) << name;
    size_t frames = Frames(wav);
    EXPECT_LT(std::abs(At(wav, 0, 0)), 330) << name;
    for (size_t i = frames - 10; i < frames; ++i) EXPECT_LT(std::abs(At(wav, i, 0)), 330) << name;
  }
  // The pop is loudest at its very start: the crack.
  WavSamples pop = Sound("pop.wav");
  EXPECT_GT(Rms(pop, 0, pop.rate / 20, 0), 4.0 * Rms(pop, pop.rate / 2, pop.rate / 20, 0));
}

TEST(Sounds, TheWhistleRisesInPitch) {
  WavSamples whistle = Sound("whistle.wav");
  ASSERT_GT(whistle.channels, 0);
  double early = CrossingRate(whistle, 0.1, 0.4);
  double late = CrossingRate(whistle, 1.6, 1.9);
  EXPECT_GT(late, 1.8 * early);
  EXPECT_GT(early, 2 * 400.0);
  EXPECT_LT(late, 2 * 4000.0);
}
