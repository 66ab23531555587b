// What the sounds do: peaks at -1 dBFS without clipping, loops that join without a jump,
// one-shots that start and end in silence, a pop that cracks, a whistle that rises.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "data_reading.h"

namespace {

double Rms(const Sound& sound, size_t first, size_t count, int channel = 0) {
  double sum = 0.0;
  for (size_t i = first; i < first + count; ++i) sum += double(sound.At(i, channel)) * sound.At(i, channel);
  return std::sqrt(sum / count);
}

// Zero crossings per second of the first channel between two times (seconds).
double CrossingRate(const Sound& sound, double from, double to) {
  int crossings = 0;
  for (size_t i = size_t(from * sound.rate) + 1; i < size_t(to * sound.rate); ++i) {
    crossings += (sound.At(i - 1, 0) < 0) != (sound.At(i, 0) < 0);
  }
  return crossings / (to - from);
}

}  // namespace

// A clipped sound sits at its peak for many samples; ours touch it only briefly.
TEST(Sounds, PeaksSitOneDecibelBelowFullScaleWithoutClipping) {
  for (const char* name : {"ambient.wav", "rain.wav", "wind.wav", "whistle.wav", "pop.wav"}) {
    SCOPED_TRACE(name);
    const Sound sound = LoadSound(name);
    ASSERT_GT(sound.channels, 0);
    int peak = 0;
    for (int16_t s : sound.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_NEAR(20.0 * std::log10(peak / 32767.0), -1.0, 1.0);
    EXPECT_LT(peak, 32767);
    const auto nearPeak = std::count_if(sound.samples.begin(), sound.samples.end(),
                                        [&](int16_t s) { return std::abs(s) > peak * 0.98; });
    EXPECT_LT(size_t(nearPeak), sound.samples.size() / 1000 + 4);
  }
}

// Played end to start, a loop steps no further than it does inside, and is as loud just
// after the join (50 ms) as just before it.
TEST(Sounds, LoopsJoinWithoutAJumpOrALevelChange) {
  for (const char* name : {"ambient.wav", "rain.wav", "wind.wav"}) {
    const Sound sound = LoadSound(name);
    ASSERT_GT(sound.channels, 0) << name;
    const size_t last = sound.Frames() - 1, window = sound.rate / 20;
    for (int c = 0; c < sound.channels; ++c) {
      int largestStep = 0;
      for (size_t i = 1; i <= last; ++i) {
        largestStep = std::max(largestStep, std::abs(sound.At(i, c) - sound.At(i - 1, c)));
      }
      EXPECT_LE(std::abs(sound.At(0, c) - sound.At(last, c)), largestStep) << name << " channel " << c;
      const double dB = 20.0 * std::log10(Rms(sound, 0, window, c) / Rms(sound, last + 1 - window, window, c));
      EXPECT_NEAR(dB, 0.0, 3.0) << name << " channel " << c;
    }
  }
}

TEST(Sounds, FireworkSoundsStartAndEndInSilenceThePopCracksAndTheWhistleRises) {
  for (const char* name : {"whistle.wav", "pop.wav"}) {
    const Sound sound = LoadSound(name);
    ASSERT_GT(sound.channels, 0) << name;
    EXPECT_LT(std::abs(sound.At(0, 0)), 330) << name;
    for (size_t i = sound.Frames() - 10; i < sound.Frames(); ++i) EXPECT_LT(std::abs(sound.At(i, 0)), 330) << name;
  }
  const Sound pop = LoadSound("pop.wav"), whistle = LoadSound("whistle.wav");
  EXPECT_GT(Rms(pop, 0, pop.rate / 20), 4.0 * Rms(pop, pop.rate / 2, pop.rate / 20)) << "loudest at its start";
  const double early = CrossingRate(whistle, 0.1, 0.4), late = CrossingRate(whistle, 1.6, 1.9);
  EXPECT_GT(late, 1.8 * early);
  EXPECT_GT(early, 2 * 400.0);
  EXPECT_LT(late, 2 * 4000.0);
}
