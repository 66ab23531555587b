// What the generator writes: the same bytes on every run, and sounds of their lengths and
// channels, unclipped, loops that join without a jump and one-shots that start and end in
// silence. (The pictures are drawn whole in the reference frames, which any change to
// them fails; the heightmap's fit to the scene has a test of its own.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "data/data_files.h"
#include "support/gl_window.h"

namespace {
using Bytes = std::vector<uint8_t>;

Bytes ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Interleaved samples of a plain 16-bit PCM WAV (a 44-byte header); no channels if it is not one.
struct Sound {
  int channels = 0, rate = 0;
  std::vector<int16_t> samples;
  int At(size_t frame, int channel = 0) const { return samples[frame * channels + channel]; }
  size_t Frames() const { return samples.size() / channels; }
};

Sound LoadSound(const std::string& name) {
  const Bytes f = ReadWholeFile(BinDir() + "/" + name);
  auto u16 = [&](size_t at) { return uint32_t(f[at] | f[at + 1] << 8); };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  if (f.size() < 44 || std::memcmp(&f[0], "RIFF", 4) || std::memcmp(&f[8], "WAVEfmt ", 8) ||
      std::memcmp(&f[36], "data", 4) || u32(40) != f.size() - 44 || u16(20) != 1 || u16(34) != 16)
    return {};
  const int16_t* samples = reinterpret_cast<const int16_t*>(&f[44]);
  return {int(u16(22)), int(u32(24)), std::vector<int16_t>(samples, samples + (f.size() - 44) / 2)};
}

double Rms(const Sound& sound, size_t first, size_t count, int channel) {
  double sum = 0.0;
  for (size_t i = first; i < first + count; ++i) sum += double(sound.At(i, channel)) * sound.At(i, channel);
  return std::sqrt(sum / count);
}
}  // namespace

TEST(GeneratedFiles, ASecondRunIntoAFreshFolderWritesTheSameBytes) {
  const std::string temp = MakeTempDir(), folder = temp + "/fresh";
  ASSERT_EQ(std::system(("'" + BinDir() + "/make_data' '" + folder + "'").c_str()), 0);
  for (const char* name : DataFileNames) {
    const Bytes built = ReadWholeFile(BinDir() + "/" + name);
    EXPECT_TRUE(!built.empty() && ReadWholeFile(folder + "/" + name) == built) << name;
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
    const Sound sound = LoadSound(name);
    ASSERT_GT(sound.channels, 0) << "not a plain 16-bit PCM WAV";
    const double seconds = double(sound.Frames()) / sound.rate;
    EXPECT_TRUE((!mono || sound.channels == 1) && sound.rate >= 22050 && seconds >= shortest && seconds <= longest)
        << sound.channels << " channels, " << sound.rate << " Hz, " << seconds << " s";
    int peak = 0;
    for (int16_t s : sound.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_TRUE(peak < 32767 && std::fabs(20.0 * std::log10(peak / 32767.0) + 1.0) <= 1.0) << peak;
    EXPECT_LT(size_t(std::ranges::count_if(sound.samples, [&](int16_t s) { return std::abs(s) > peak * 0.98; })),
              sound.samples.size() / 1000 + 4);
    const size_t last = sound.Frames() - 1, window = sound.rate / 20;
    for (int c = 0; loop && c < sound.channels; ++c) {
      int step = 0;
      for (size_t i = 1; i <= last; ++i) step = std::max(step, std::abs(sound.At(i, c) - sound.At(i - 1, c)));
      EXPECT_LE(std::abs(sound.At(0, c) - sound.At(last, c)), step) << "channel " << c;
      EXPECT_NEAR(20.0 * std::log10(Rms(sound, 0, window, c) / Rms(sound, last + 1 - window, window, c)), 0.0, 3.0);
    }
    for (size_t i : {size_t(0), last - 9, last}) EXPECT_TRUE(loop || std::abs(sound.At(i)) < 330) << i;
  }
}
