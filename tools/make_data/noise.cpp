// Repeatable random numbers and tileable value noise for the data generator.
#include "noise.h"

#include <cmath>

namespace {

// Mixes 32 bits thoroughly: neighbouring inputs give unrelated outputs.
uint32_t Mix(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

// The smooth fade between lattice values (zero slope and curvature at the ends).
float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

int Wrap(int value, int period) {
  int r = value % period;
  return r < 0 ? r + period : r;
}

}  // namespace

uint32_t NextRandom(Random& random) {
  random.state += 0x9e3779b9U;
  return Mix(random.state);
}

float RandomUnit(Random& random) { return static_cast<float>(NextRandom(random) >> 8) * (1.0f / 16777216.0f); }

float RandomRange(Random& random, float low, float high) { return low + (high - low) * RandomUnit(random); }

float RandomNormal(Random& random) {
  float sum = 0.0f;
  for (int i = 0; i < 4; ++i) sum += RandomUnit(random);
  return (sum - 2.0f) * 1.7320508f;
}

float LatticeValue(int32_t x, int32_t y, uint32_t layer) {
  uint32_t h = Mix(static_cast<uint32_t>(x) * 0x8da6b343U ^
                   Mix(static_cast<uint32_t>(y) * 0xd8163841U ^ Mix(layer + 0x2545f491U)));
  return static_cast<float>(h >> 8) * (1.0f / 16777216.0f);
}

float TileNoise(float u, float v, int period, uint32_t layer) {
  float x = u * period;
  float y = v * period;
  float fx = std::floor(x);
  float fy = std::floor(y);
  int x0 = Wrap(static_cast<int>(fx), period);
  int y0 = Wrap(static_cast<int>(fy), period);
  int x1 = Wrap(x0 + 1, period);
  int y1 = Wrap(y0 + 1, period);
  float tx = Fade(x - fx);
  float ty = Fade(y - fy);
  float a = LatticeValue(x0, y0, layer) + (LatticeValue(x1, y0, layer) - LatticeValue(x0, y0, layer)) * tx;
  float b = LatticeValue(x0, y1, layer) + (LatticeValue(x1, y1, layer) - LatticeValue(x0, y1, layer)) * tx;
  return a + (b - a) * ty;
}

float TileFbm(float u, float v, int period, int octaves, float gain, uint32_t layer) {
  float sum = 0.0f;
  float weight = 1.0f;
  float total = 0.0f;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += weight * TileNoise(u, v, period << octave, layer + octave * 101U);
    total += weight;
    weight *= gain;
  }
  return sum / total;
}

float LoopNoise(float loop, int period, uint32_t layer) {
  float t = loop * period;
  float ft = std::floor(t);
  int t0 = Wrap(static_cast<int>(ft), period);
  int t1 = Wrap(t0 + 1, period);
  float a = LatticeValue(t0, 7, layer);
  return a + (LatticeValue(t1, 7, layer) - a) * Fade(t - ft);
}

float LoopFbm(float loop, int period, int octaves, float gain, uint32_t layer) {
  float sum = 0.0f;
  float weight = 1.0f;
  float total = 0.0f;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += weight * LoopNoise(loop, period << octave, layer + octave * 101U);
    total += weight;
    weight *= gain;
  }
  return sum / total;
}
