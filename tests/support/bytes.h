// Builds files byte by byte for the tests (pictures, sounds), and reads them back.
#pragma once

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// The values, each as `width` little-endian bytes.
inline Bytes Le(int width, std::initializer_list<int64_t> values) {
  Bytes out;
  for (int64_t value : values) {
    for (int i = 0; i < width; ++i) out.push_back(uint8_t(uint64_t(value) >> (8 * i)));
  }
  return out;
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// The 44-byte header of a 16-bit PCM wave file whose samples take `dataBytes`.
inline Bytes WaveHeader(int channels, int64_t rate, int64_t dataBytes) {
  const Bytes riff = {'R', 'I', 'F', 'F'}, format = {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '},
              data = {'d', 'a', 't', 'a'};
  return Cat({riff, Le(4, {36 + dataBytes}), format, Le(4, {16}), Le(2, {1, channels}),
              Le(4, {rate, rate * 2 * channels}), Le(2, {int64_t{2} * channels, 16}), data, Le(4, {dataBytes})});
}

inline Bytes Poke(Bytes bytes, size_t at, uint8_t value) { return bytes[at] = value, bytes; }

// Writes the bytes and returns the path.
inline std::string WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

// The whole file; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
