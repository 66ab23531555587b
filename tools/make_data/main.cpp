// make_data: writes the ten pictures and sounds of the island scene into a folder
// (the first argument, or the current folder), the same bytes on every run; with a
// second folder, also the program's icons there (quarnholt-48.png, quarnholt-256.png, and
// both in quarnholt.ico for the Windows build).
#include <filesystem>
#include <string>
#include <vector>

#include "data/data_files.h"
#include "firework_sounds.h"
#include "icon_pictures.h"
#include "loop_sounds.h"
#include "sprite_pictures.h"
#include "terrain_pictures.h"

namespace {

constexpr double PeakDb = -1.0;         // every sound's largest sample, below full scale
constexpr int IconSizes[] = {48, 256};  // pixels, each way

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
  if (argc > 2) {
    const std::string icons = Folder(argv[2]);
    std::vector<Picture> pictures;
    for (int size : IconSizes) {
      pictures.push_back(MakeIcon(heightmap, ground, water, size));
      ok &= WritePng(icons + "quarnholt-" + std::to_string(size) + ".png", pictures.back());
    }
    ok &= WriteIco(icons + "quarnholt.ico", pictures);
  }
  return ok ? 0 : 1;
}
