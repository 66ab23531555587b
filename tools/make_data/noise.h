// Our own repeatable random numbers and value noise: every picture and sound is
// built from these, so a build writes the same bytes every time.
#pragma once

#include <cstdint>

// A small generator of our own (a 32-bit state stepped by a fixed odd constant and
// mixed); the same starting value gives the same sequence everywhere.
struct Random {
  uint32_t state;
};

uint32_t NextRandom(Random& random);
// Uniform in [0, 1).
float RandomUnit(Random& random);
// Uniform in [low, high).
float RandomRange(Random& random, float low, float high);
// Roughly normal (mean 0, deviation about 1), from four uniform draws.
float RandomNormal(Random& random);

// A repeatable value in [0, 1) for a lattice point of a numbered noise layer.
float LatticeValue(int32_t x, int32_t y, uint32_t layer);

// Value noise in [0, 1) over a tile (u and v in tile widths) with `period` lattice
// cells across it; whole tiles repeat exactly, so a picture filled from it has no seam.
float TileNoise(float u, float v, int period, uint32_t layer);
// Fractal sum of TileNoise: `octaves` layers, each twice as fine and `gain` as strong
// as the one before; the first has `period` cells across the tile. About [0, 1).
float TileFbm(float u, float v, int period, int octaves, float gain, uint32_t layer);

// One-dimensional value noise in [0, 1) over a loop (`loop` in loop lengths) with
// `period` cells in it: slow movements of a looping sound that join at the end.
float LoopNoise(float loop, int period, uint32_t layer);
// Fractal sum of LoopNoise, like TileFbm.
float LoopFbm(float loop, int period, int octaves, float gain, uint32_t layer);
