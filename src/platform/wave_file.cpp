// Wave files: a RIFF reader of our own. Chunks are walked in file order; "fmt " must
// come before "data", which ends the walk. Every length is checked against the bytes
// that are there.
#include "platform/wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {
constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatFloat = 3;
constexpr uint16_t FormatExtensible = 0xFFFE;
constexpr size_t ExtensibleSize = 40;  // bytes of a "fmt " chunk that names its sub-format

struct WaveFormat {
  uint16_t tag;  // FormatPcm or FormatFloat
  int channels;
  int sampleRate;          // samples per second
  int bytesPerSample;      // 1 to 4
};

uint32_t Little(const uint8_t* at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | at[i];
  return value;
}

bool ReadFormat(const uint8_t* chunk, size_t length, WaveFormat* format) {
  if (length < 16) return false;
  uint16_t tag = static_cast<uint16_t>(Little(chunk, 2));
  uint32_t channels = Little(chunk + 2, 2), rate = Little(chunk + 4, 4), align = Little(chunk + 12, 2);
  uint32_t bits = Little(chunk + 14, 2);
  if (tag == FormatExtensible) {
    if (length < ExtensibleSize) return false;
    tag = static_cast<uint16_t>(Little(chunk + 24, 2));  // the sub-format GUID's first two bytes
  }
  bool pcm = tag == FormatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
  bool floats = tag == FormatFloat && bits == 32;
  if (!(pcm || floats) || channels < 1 || channels > 2 || rate < MinWaveRate || rate > MaxWaveRate ||
      align != channels * bits / 8) {
    return false;
  }
  *format = {tag, static_cast<int>(channels), static_cast<int>(rate), static_cast<int>(bits / 8)};
  return true;
}

int16_t Sample16(const WaveFormat& format, const uint8_t* at) {
  if (format.tag == FormatFloat) {
    float value;
    std::memcpy(&value, at, sizeof value);
    if (!(value == value)) return 0;  // not a number
    return static_cast<int16_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
  }
  if (format.bytesPerSample == 1) return static_cast<int16_t>((at[0] - 128) * 256);
  // Wider samples keep their two most significant bytes.
  return static_cast<int16_t>(Little(at + format.bytesPerSample - 2, 2));
}

bool DecodeSamples(const WaveFormat& format, const uint8_t* data, size_t length, WaveSamples* wave) {
  size_t frameBytes = static_cast<size_t>(format.channels) * format.bytesPerSample;
  size_t count = length / frameBytes * format.channels;
  if (count == 0) return false;
  std::vector<int16_t> samples(count);
  for (size_t i = 0; i < count; ++i) samples[i] = Sample16(format, data + i * format.bytesPerSample);
  *wave = {std::move(samples), format.channels, format.sampleRate};
  return true;
}
}  // namespace

bool DecodeWave(const uint8_t* bytes, size_t size, WaveSamples* wave) {
  if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return false;
  WaveFormat format{};
  bool formatSeen = false;
  for (size_t at = 12; size - at >= 8;) {
    const uint8_t* chunk = bytes + at + 8;
    size_t length = Little(bytes + at + 4, 4), there = size - at - 8;
    if (std::memcmp(bytes + at, "fmt ", 4) == 0) {
      if (length > there || !ReadFormat(chunk, length, &format)) return false;
      formatSeen = true;
    } else if (std::memcmp(bytes + at, "data", 4) == 0) {
      return formatSeen && DecodeSamples(format, chunk, std::min(length, there), wave);
    }
    if (length + (length & 1) >= there) break;  // the last chunk
    at += 8 + length + (length & 1);
  }
  return false;
}

bool ReadWaveFile(const std::string& path, WaveSamples* wave) {
  std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary);
  if (!in) return false;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DecodeWave(bytes.data(), bytes.size(), wave);
}

std::vector<int16_t> MixedToMono(const std::vector<int16_t>& stereo) {
  std::vector<int16_t> mono(stereo.size() / 2);
  for (size_t i = 0; i < mono.size(); ++i) {
    mono[i] = static_cast<int16_t>((stereo[2 * i] + stereo[2 * i + 1]) / 2);
  }
  return mono;
}
