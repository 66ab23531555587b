// BMP, TGA and WAV writers: headers written field by field (PNG: png_writer.cpp).
#include "file_writers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xff));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xff));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xffff);
  Put16(out, value >> 16);
}

void PutText(std::vector<uint8_t>& out, const char* text) {
  for (const char* c = text; *c; ++c) out.push_back(static_cast<uint8_t>(*c));
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = file && std::fclose(file) == 0 && written;
  if (!written) std::fprintf(stderr, "make_data: cannot write %s\n", path.c_str());
  return written;
}

}  // namespace

Picture MakePicture(int width, int height, int channels) {
  return Picture{width, height, channels, std::vector<uint8_t>(static_cast<size_t>(width) * height * channels, 0)};
}

Sound MakeSound(int rate, int channels, double seconds) {
  size_t frames = static_cast<size_t>(std::lround(seconds * rate));
  return Sound{rate, channels, std::vector<float>(frames * channels, 0.0f)};
}

bool WriteBmp(const std::string& path, const Picture& picture) {
  const uint32_t rowBytes = (static_cast<uint32_t>(picture.width) * 3 + 3) & ~3U;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(picture.height);
  std::vector<uint8_t> out;
  PutText(out, "BM");
  Put32(out, 54 + imageBytes);  // file size
  Put32(out, 0);                // reserved
  Put32(out, 54);               // pixel data offset
  Put32(out, 40);               // info header size
  Put32(out, static_cast<uint32_t>(picture.width));
  Put32(out, static_cast<uint32_t>(picture.height));  // positive: bottom row first
  Put16(out, 1);                                      // planes
  Put16(out, 24);                                     // bits per pixel
  Put32(out, 0);                                      // no compression
  Put32(out, imageBytes);
  Put32(out, 2835);  // 72 dots per inch, both ways
  Put32(out, 2835);
  Put32(out, 0);  // colours used
  Put32(out, 0);  // colours important
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint8_t* p = &picture.pixels[(static_cast<size_t>(y) * picture.width + x) * picture.channels];
      out.push_back(p[2]);
      out.push_back(p[1]);
      out.push_back(p[0]);
    }
    for (uint32_t pad = static_cast<uint32_t>(picture.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return WriteBytes(path, out);
}

bool WriteTga(const std::string& path, const Picture& picture) {
  std::vector<uint8_t> out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Put16(out, static_cast<uint32_t>(picture.width));
  Put16(out, static_cast<uint32_t>(picture.height));
  out.push_back(32);  // bits per pixel
  out.push_back(8);   // 8 alpha bits, first row at the bottom
  for (size_t i = 0; i + 3 < picture.pixels.size(); i += 4) {
    out.push_back(picture.pixels[i + 2]);
    out.push_back(picture.pixels[i + 1]);
    out.push_back(picture.pixels[i]);
    out.push_back(picture.pixels[i + 3]);
  }
  return WriteBytes(path, out);
}

bool WriteIco(const std::string& path, const std::vector<Picture>& pictures) {
  std::vector<uint8_t> out, images;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // an icon
  Put16(out, static_cast<uint32_t>(pictures.size()));
  for (const Picture& picture : pictures) {
    const uint32_t width = static_cast<uint32_t>(picture.width), height = static_cast<uint32_t>(picture.height);
    const uint32_t maskRowBytes = (width + 31) / 32 * 4;
    const uint32_t bytes = 40 + width * height * 4 + maskRowBytes * height;
    out.push_back(static_cast<uint8_t>(width));  // 256 is written as 0
    out.push_back(static_cast<uint8_t>(height));
    out.insert(out.end(), {0, 0});  // no palette, reserved
    Put16(out, 1);                  // planes
    Put16(out, 32);                 // bits per pixel
    Put32(out, bytes);
    Put32(out, static_cast<uint32_t>(6 + 16 * pictures.size() + images.size()));
    // The image: a 32-bit BGRA bitmap, bottom row first, of twice the height (the colours,
    // then a mask that the alpha channel makes unused).
    Put32(images, 40);
    Put32(images, width);
    Put32(images, height * 2);
    Put16(images, 1);
    Put16(images, 32);
    for (int field = 0; field < 6; ++field) Put32(images, 0);
    for (size_t i = 0; i + 3 < picture.pixels.size(); i += 4)
      images.insert(images.end(),
                    {picture.pixels[i + 2], picture.pixels[i + 1], picture.pixels[i], picture.pixels[i + 3]});
    images.insert(images.end(), static_cast<size_t>(maskRowBytes) * height, 0);
  }
  out.insert(out.end(), images.begin(), images.end());
  return WriteBytes(path, out);
}

bool WriteWav(const std::string& path, const Sound& sound, double peakDb) {
  float largest = 0.0f;
  for (float s : sound.samples) largest = std::max(largest, std::fabs(s));
  const double scale = largest > 0.0f ? 32767.0 * std::pow(10.0, peakDb / 20.0) / largest : 0.0;
  const uint32_t dataBytes = static_cast<uint32_t>(sound.samples.size() * 2);
  const uint32_t blockAlign = static_cast<uint32_t>(sound.channels) * 2;
  std::vector<uint8_t> out;
  PutText(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutText(out, "WAVE");
  PutText(out, "fmt ");
  Put32(out, 16);  // format chunk size
  Put16(out, 1);   // PCM
  Put16(out, static_cast<uint32_t>(sound.channels));
  Put32(out, static_cast<uint32_t>(sound.rate));
  Put32(out, static_cast<uint32_t>(sound.rate) * blockAlign);
  Put16(out, blockAlign);
  Put16(out, 16);  // bits per sample
  PutText(out, "data");
  Put32(out, dataBytes);
  for (float s : sound.samples) {
    long value = std::lround(s * scale);
    value = std::clamp(value, -32767L, 32767L);
    Put16(out, static_cast<uint32_t>(static_cast<int16_t>(value)) & 0xffff);
  }
  return WriteBytes(path, out);
}
