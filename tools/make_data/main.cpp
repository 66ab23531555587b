// make_data: writes the ten pictures and sounds of the island scene into a folder
// (the first argument, or the current folder), the same bytes on every run.
#include <cstdio>
#include <filesystem>
#include <string>

#include "firework_sounds.h"
#include "loop_sounds.h"
#include "sprite_pictures.h"
#include "terrain_pictures.h"

namespace {

constexpr double PeakDb = -1.0;  // every sound's largest sample, below full scale

bool Report(bool written, const std::string& path) {
  if (!written) std::fprintf(stderr, "make_data: cannot write %s\n", path.c_str());
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = argc > 1 ? argv[1] : ".";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!folder.empty() && folder.back() != '/') folder += '/';
  bool ok = true;
  Picture heightmap = MakeHeightmap();
  ok &= Report(WriteBmp(folder + "heightmap.bmp", heightmap), folder + "heightmap.bmp");
  ok &= Report(WriteBmp(folder + "image1.bmp", MakeGroundTexture(heightmap)), folder + "image1.bmp");
  ok &= Report(WriteBmp(folder + "water.bmp", MakeWaterTexture()), folder + "water.bmp");
  ok &= Report(WriteTga(folder + "plant4.tga", MakePlant()), folder + "plant4.tga");
  ok &= Report(WriteTga(folder + "boom.tga", MakeGlow()), folder + "boom.tga");
  ok &= Report(WriteWav(folder + "ambient.wav", MakeAmbient(), PeakDb), folder + "ambient.wav");
  ok &= Report(WriteWav(folder + "rain.wav", MakeRain(), PeakDb), folder + "rain.wav");
  ok &= Report(WriteWav(folder + "wind.wav", MakeWind(), PeakDb), folder + "wind.wav");
  ok &= Report(WriteWav(folder + "whistle.wav", MakeWhistle(), PeakDb), folder + "whistle.wav");
  ok &= Report(WriteWav(folder + "pop.wav", MakePop(), PeakDb), folder + "pop.wav");
  return ok ? 0 : 1;
}
