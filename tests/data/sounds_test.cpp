// What the sounds are: plain PCM of their lengths and channels, peaks at
// -1 dBFS without clipping, loops that join without a jump, one-shots that start and end
// in silence, a pop that cracks, a whistle that rises.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "data_reading.h"

static double Rms(const Sound& sound, size_t first, size_t count, int channel = 0) {
  double sum = 0.0;
  for (size_t i = first; i < first + count; ++i) sum += double(sound.At(i, channel)) * sound.At(i, channel);
  return std::sqrt(sum / count);
}

// Zero crossings per second of the first channel between two times (seconds).
static double CrossingRate(const Sound& sound, double from, double to) {
  int crossings = 0;
  for (size_t i = size_t(from * sound.rate) + 1; i < size_t(to * sound.rate); ++i)
    crossings += (sound.At(i - 1) < 0) != (sound.At(i) < 0);
  return crossings / (to - from);
}

TEST(Sounds, FormatsLengthsPeaksAndJoins) {
  const struct {
    const char* name;
    double shortest, longest;  // seconds
    bool mono, loop;           // mono: played as a positioned source
  } sounds[] = {{AmbientSoundFile, 10, 30, false, true}, {RainSoundFile, 3, 30, false, true},
                {WindSoundFile, 3, 30, true, true}, {WhistleSoundFile, 1.5, 3, true, false},
                {PopSoundFile, 0.2, 1.5, true, false}};
  for (const auto& [name, shortest, longest, mono, loop] : sounds) {
    SCOPED_TRACE(name);
    const Sound sound = LoadSound(name);
    ASSERT_GT(sound.channels, 0) << "not a plain 16-bit PCM WAV";
    const double seconds = double(sound.Frames()) / sound.rate;
    EXPECT_TRUE((!mono || sound.channels == 1) && sound.rate >= 22050 && seconds >= shortest && seconds <= longest)
        << sound.channels << " channels, " << sound.rate << " Hz, " << seconds << " s";
    // A clipped sound sits at its peak for many samples; ours touch it only briefly.
    int peak = 0;
    for (int16_t s : sound.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_TRUE(peak < 32767 && std::fabs(20.0 * std::log10(peak / 32767.0) + 1.0) <= 1.0) << peak;
    EXPECT_LT(size_t(std::ranges::count_if(sound.samples, [&](int16_t s) { return std::abs(s) > peak * 0.98; })),
              sound.samples.size() / 1000 + 4);
    const size_t last = sound.Frames() - 1, window = sound.rate / 20;
    for (int c = 0; loop && c < sound.channels; ++c) {
      // Played end to start, a loop steps no further than inside, and is as loud just after the join as before.
      int step = 0;  // the largest inside
      for (size_t i = 1; i <= last; ++i) step = std::max(step, std::abs(sound.At(i, c) - sound.At(i - 1, c)));
      EXPECT_LE(std::abs(sound.At(0, c) - sound.At(last, c)), step) << "channel " << c;
      EXPECT_NEAR(20.0 * std::log10(Rms(sound, 0, window, c) / Rms(sound, last + 1 - window, window, c)), 0.0, 3.0);
    }
    for (size_t i : {size_t(0), last - 9, last})
      EXPECT_TRUE(loop || std::abs(sound.At(i)) < 330) << "a one-shot starts and ends in silence: " << i;
  }
  const Sound pop = LoadSound(PopSoundFile), whistle = LoadSound(WhistleSoundFile);
  EXPECT_GT(Rms(pop, 0, pop.rate / 20), 4.0 * Rms(pop, pop.rate / 2, pop.rate / 20)) << "loudest at its start";
  const double early = CrossingRate(whistle, 0.1, 0.4), late = CrossingRate(whistle, 1.6, 1.9);
  EXPECT_TRUE(late > 1.8 * early && early > 2 * 400.0 && late < 2 * 4000.0) << "rises: " << early << " " << late;
}
