// The ten data files: their names, and where the program finds each one.
#pragma once

#include <string>

// The names, for the program, its generator, its install and its tests alike. The build
// reads the quoted names below, so each stays alone on its line in this form.
inline constexpr const char* HeightmapFile = "heightmap.bmp";
inline constexpr const char* TerrainTextureFile = "image1.bmp";
inline constexpr const char* WaterTextureFile = "water.bmp";
inline constexpr const char* PlantFile = "plant4.tga";
inline constexpr const char* SpriteFile = "boom.tga";
inline constexpr const char* AmbientSoundFile = "ambient.wav";
inline constexpr const char* RainSoundFile = "rain.wav";
inline constexpr const char* WindSoundFile = "wind.wav";
inline constexpr const char* WhistleSoundFile = "whistle.wav";
inline constexpr const char* PopSoundFile = "pop.wav";

inline constexpr const char* DataFileNames[] = {HeightmapFile,    TerrainTextureFile, WaterTextureFile, PlantFile,
                                                SpriteFile,       AmbientSoundFile,   RainSoundFile,    WindSoundFile,
                                                WhistleSoundFile, PopSoundFile};

// Where a data file is read from: the bare name when the current directory has it (a
// folder of one's own files wins, file by file), else its path in the installed data
// folder beside the running program (../share/quarnholt from its bin/). The bare name
// again when neither has it, so that the loaders' messages name it as before.
std::string FindDataFile(const char* name);
