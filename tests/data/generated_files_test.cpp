// What the generator writes: the same bytes on every run, and sounds (read as the program
// reads them) of their lengths and channels, unclipped, loops that join without a jump and
// one-shots that start and end in silence. (The pictures, the heightmap with its fit to
// the plants and the sea included, are drawn whole in the reference frames, which any
// change to them fails.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "data/data_files.h"
#include "platform/wave_file.h"
#include "support/bytes.h"
#include "support/gl_window.h"

namespace {
// Root mean square of one channel over `count` frames from `first`.
double Rms(const WaveSamples& sound, size_t first, size_t count, int channel) {
  double sum = 0.0;
  for (size_t i = first; i < first + count; ++i) sum += std::pow(sound.samples[i * sound.channels + channel], 2.0);
  return std::sqrt(sum / count);
}
}  // namespace

TEST(GeneratedFiles, ASecondRunIntoAFreshFolderWritesTheSameBytes) {
  const std::string temp = MakeTempDir(), folder = temp + "/fresh";
  ASSERT_EQ(std::system(("'" + BinDir() + "/make_data' '" + folder + "'").c_str()), 0);
  for (const char* name : DataFileNames) {
    const std::string built = ReadFile(BinDir() + "/" + name);
    EXPECT_TRUE(!built.empty() && ReadFile(folder + "/" + name) == built) << name;
  }
  std::system(("rm -rf '" + temp + "'").c_str());
}

// Positioned sounds are mono. Peaks at -1 dBFS, touched only briefly (a clipped sound sits
// there). Played end to start, a loop steps no further than inside and is as loud after the
// join as before it.
TEST(GeneratedFiles, SoundsHaveTheirLengthsPeaksAndJoins) {
  const struct { const char* name; double shortest, longest; bool mono, loop; } sounds[] = {
      {AmbientSoundFile, 10, 30, false, true}, {RainSoundFile, 3, 30, false, true}, {WindSoundFile, 3, 30, true, true},
      {WhistleSoundFile, 1.5, 3, true, false}, {PopSoundFile, 0.2, 1.5, true, false}};
  for (const auto& [name, shortest, longest, mono, loop] : sounds) {
    SCOPED_TRACE(name);
    WaveSamples sound;
    ASSERT_TRUE(ReadWaveFile((BinDir() + "/" + name).c_str(), &sound));
    const size_t frames = sound.samples.size() / sound.channels, last = frames - 1, window = sound.sampleRate / 20;
    auto at = [&](size_t frame, int channel = 0) { return int(sound.samples[frame * sound.channels + channel]); };
    const double seconds = double(frames) / sound.sampleRate;
    EXPECT_TRUE((!mono || sound.channels == 1) && sound.sampleRate >= 22050 && seconds >= shortest && seconds <= longest)
        << sound.channels << " channels, " << sound.sampleRate << " Hz, " << seconds << " s";
    int peak = 0;
    for (int16_t s : sound.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_TRUE(peak < 32767 && std::fabs(20.0 * std::log10(peak / 32767.0) + 1.0) <= 1.0) << peak;
    EXPECT_LT(size_t(std::ranges::count_if(sound.samples, [&](int16_t s) { return std::abs(s) > peak * 0.98; })),
              sound.samples.size() / 1000 + 4);
    for (int c = 0; loop && c < sound.channels; ++c) {
      int step = 0;
      for (size_t i = 1; i <= last; ++i) step = std::max(step, std::abs(at(i, c) - at(i - 1, c)));
      EXPECT_LE(std::abs(at(0, c) - at(last, c)), step) << "channel " << c;
      EXPECT_NEAR(20.0 * std::log10(Rms(sound, 0, window, c) / Rms(sound, last + 1 - window, window, c)), 0.0, 3.0);
    }
    for (size_t i : {size_t(0), last - 9, last}) EXPECT_TRUE(loop || std::abs(at(i)) < 330) << i;
  }
}
