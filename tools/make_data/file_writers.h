// Small, exact writers for the three file forms the program reads: 24-bit BMP,
// 32-bit uncompressed TGA and 16-bit PCM WAV; and PNG and ICO for the desktops' icons.
// Each says on standard error which file it could not write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture of 8-bit channels (3 for R, G, B; 4 with alpha), rows bottom-up, no gaps.
struct Picture {
  int width;     // pixels
  int height;    // pixels
  int channels;  // 3 or 4
  std::vector<uint8_t> pixels;
};

// A sound of 32-bit float samples in about -1..1, channels interleaved.
struct Sound {
  int rate;      // samples per second per channel
  int channels;  // 1 or 2
  std::vector<float> samples;
};

Picture MakePicture(int width, int height, int channels);
Sound MakeSound(int rate, int channels, double seconds);

// Writes a bottom-up 24-bit BMP with a 40-byte info header. False if the file can't be written.
bool WriteBmp(const std::string& path, const Picture& picture);
// Writes an uncompressed 32-bit TGA (type 2, origin at the bottom left, 8 alpha bits).
bool WriteTga(const std::string& path, const Picture& picture);
// Writes a Windows icon file of the RGBA pictures (each at most 256 pixels square), each
// as a 32-bit bitmap with its alpha.
bool WriteIco(const std::string& path, const std::vector<Picture>& pictures);
// Scales the sound so its largest sample is `peakDb` decibels below full scale, then
// writes it as a plain RIFF/WAVE file of 16-bit PCM.
bool WriteWav(const std::string& path, const Sound& sound, double peakDb);
// Writes an 8-bit RGB or RGBA PNG with libpng.
bool WritePng(const std::string& path, const Picture& picture);
