// Builds bitmap files byte by byte for the loader's tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void Put32(Bytes& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// The 40-byte info header.
inline Bytes InfoHeader(int32_t width, int32_t height, uint32_t bitCount, uint32_t compression = 0,
                        uint32_t coloursUsed = 0, uint32_t imageSize = 0) {
  Bytes out;
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, bitCount);
  Put32(out, compression);
  Put32(out, imageSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, coloursUsed);
  Put32(out, 0);
  return out;
}

// The 12-byte core header.
inline Bytes CoreHeader(uint32_t width, uint32_t height, uint32_t bitCount) {
  Bytes out;
  Put32(out, 12);
  Put16(out, width);
  Put16(out, height);
  Put16(out, 1);
  Put16(out, bitCount);
  return out;
}

// A colour table of R, G, B colours, stored B, G, R with a reserved byte (or without, for a core header).
inline Bytes ColourTable(std::initializer_list<uint32_t> rgbColours, bool core = false) {
  Bytes out;
  for (uint32_t rgb : rgbColours) {
    out.push_back(static_cast<uint8_t>(rgb));
    out.push_back(static_cast<uint8_t>(rgb >> 8));
    out.push_back(static_cast<uint8_t>(rgb >> 16));
    if (!core) out.push_back(0);
  }
  return out;
}

// The 14-byte file header in front of a DIB whose headers and colour table take `headerBytes`.
inline Bytes WithFileHeader(const Bytes& dib, size_t headerBytes) {
  Bytes out = {'B', 'M'};
  Put32(out, static_cast<uint32_t>(14 + dib.size()));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(14 + headerBytes));
  out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

// A whole file: file header, DIB header, colour table (or masks) and pixels.
inline Bytes BmpFile(const Bytes& header, const Bytes& table, const Bytes& pixels) {
  return WithFileHeader(Join({header, table, pixels}), header.size() + table.size());
}

inline void WriteFile(const std::string& path, const Bytes& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}
