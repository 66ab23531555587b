// Wave files: a RIFF reader of our own. Chunks are walked in file order; "fmt " must
// come before "data", which ends the walk. Every length is checked against the bytes
// that are there before anything is read, and the samples are decoded as they are read.
#include "platform/wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "platform/data_file.h"

namespace {
constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatFloat = 3;
constexpr uint16_t FormatExtensible = 0xFFFE;
constexpr size_t ExtensibleSize = 40;  // bytes of a "fmt " chunk that names its sub-format
constexpr size_t BlockFrames = 8192;   // frames decoded at a time

struct WaveFormat {
  uint16_t tag;  // FormatPcm or FormatFloat
  int channels;
  int sampleRate;      // samples per second
  int bytesPerSample;  // 1 to 4
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

// Room for the samples; false when the memory is not there.
bool MakeRoom(std::vector<int16_t>* samples, size_t count) {
  try {
    samples->resize(count);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// The data chunk, decoded a block at a time into the one copy the wave keeps. The header's
// length decides, before anything is read: too long a sound, or a file that ends more than
// a frame before the chunk does, is refused; a last frame cut short is dropped.
bool ReadSamples(DataFile* file, const WaveFormat& format, uint64_t length, WaveSamples* wave) {
  const size_t frameBytes = static_cast<size_t>(format.channels) * format.bytesPerSample;
  const uint64_t there = std::min(length, file->size - file->position);
  const uint64_t count = there / frameBytes * format.channels;
  if (length - there > frameBytes || length / frameBytes * format.channels > MaxWaveSamples || count == 0) {
    return false;
  }
  std::vector<int16_t> samples;
  if (!MakeRoom(&samples, static_cast<size_t>(count))) return false;
  uint8_t block[BlockFrames * 8];  // bytes: whole frames of at most two 32-bit samples
  for (size_t done = 0; done < count;) {
    const size_t frames = std::min<size_t>(BlockFrames, (count - done) / format.channels);
    if (!ReadDataFile(file, block, frames * frameBytes)) return false;
    for (size_t i = 0; i < frames * format.channels; ++i) {
      samples[done + i] = Sample16(format, block + i * format.bytesPerSample);
    }
    done += frames * format.channels;
  }
  *wave = {std::move(samples), format.channels, format.sampleRate};
  return true;
}

// Reads the "fmt " chunk's first bytes (all that is looked at) and moves past the rest.
bool ReadFormatChunk(DataFile* file, uint64_t length, WaveFormat* format) {
  uint8_t chunk[ExtensibleSize] = {};
  const size_t kept = static_cast<size_t>(std::min<uint64_t>(length, ExtensibleSize));
  if (length > file->size - file->position || !ReadDataFile(file, chunk, kept)) return false;
  return ReadFormat(chunk, static_cast<size_t>(length), format) && SkipDataFile(file, length - kept);
}

bool ReadWave(DataFile* file, WaveSamples* wave) {
  uint8_t riff[12];
  if (!ReadDataFile(file, riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0) {
    return false;
  }
  WaveFormat format{};
  bool formatSeen = false;
  uint8_t header[8];
  while (file->size - file->position >= sizeof header && ReadDataFile(file, header, sizeof header)) {
    const uint64_t length = Little(header + 4, 4), there = file->size - file->position;
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (!ReadFormatChunk(file, length, &format)) return false;
      formatSeen = true;
      if (length & 1) SkipDataFile(file, 1);
      continue;
    }
    if (std::memcmp(header, "data", 4) == 0) return formatSeen && ReadSamples(file, format, length, wave);
    if (length + (length & 1) >= there || !SkipDataFile(file, length + (length & 1))) break;  // the last chunk
  }
  return false;
}
}  // namespace

bool ReadWaveFile(const char* path, WaveSamples* wave) {
  DataFile file;
  if (!OpenDataFile(path, &file)) return false;
  const bool read = ReadWave(&file, wave);
  CloseDataFile(&file);
  return read;
}

std::vector<int16_t> MixedToMono(const std::vector<int16_t>& stereo) {
  std::vector<int16_t> mono(stereo.size() / 2);
  for (size_t i = 0; i < mono.size(); ++i) {
    mono[i] = static_cast<int16_t>((stereo[2 * i] + stereo[2 * i + 1]) / 2);
  }
  return mono;
}
