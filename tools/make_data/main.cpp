// make_data: writes the ten pictures and sounds of the island scene into a folder
// (the first argument, or the current folder), the same bytes on every run.
#include <filesystem>
#include <string>

#include "data/data_files.h"
#include "firework_sounds.h"
#include "loop_sounds.h"
#include "sprite_pictures.h"
#include "terrain_pictures.h"

namespace {

constexpr double PeakDb = -1.0;  // every sound's largest sample, below full scale

// The folder, made if need be, with a trailing slash.
std::string Folder(const char* argument) {
  std::string folder = argument;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = Folder(argc > 1 ? argv[1] : ".");
  const Picture heightmap = MakeHeightmap(), ground = MakeGroundTexture(heightmap), water = MakeWaterTexture();
  bool ok = true;
  ok &= WriteBmp(folder + HeightmapFile, heightmap);
  ok &= WriteBmp(folder + TerrainTextureFile, ground);
  ok &= WriteBmp(folder + WaterTextureFile, water);
  ok &= WriteTga(folder + PlantFile, MakePlant());
  ok &= WriteTga(folder + SpriteFile, MakeGlow());
  ok &= WriteWav(folder + AmbientSoundFile, MakeAmbient(), PeakDb);
  ok &= WriteWav(folder + RainSoundFile, MakeRain(), PeakDb);
  ok &= WriteWav(folder + WindSoundFile, MakeWind(), PeakDb);
  ok &= WriteWav(folder + WhistleSoundFile, MakeWhistle(), PeakDb);
  ok &= WriteWav(folder + PopSoundFile, MakePop(), PeakDb);
  return ok ? 0 : 1;
}
