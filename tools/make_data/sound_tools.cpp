// Noise, filters and mixing shared by the sounds.
#include "sound_tools.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

std::vector<float> WhiteNoise(size_t count, uint32_t start) {
  Random random{start};
  std::vector<float> noise(count);
  for (float& s : noise) s = 2.0f * RandomUnit(random) - 1.0f;
  return noise;
}

float OnePoleCoefficient(float hertz) { return 1.0f - std::exp(-2.0f * Pi * hertz / SampleRate); }

float LowPass(OnePole& filter, float input, float coefficient) {
  filter.state += coefficient * (input - filter.state);
  return filter.state;
}

FilterOutputs Filter(StateVariable& filter, float input, float hertz, float resonance) {
  float g = std::tan(Pi * std::min(hertz, SampleRate * 0.45f) / SampleRate);
  float k = 1.0f / resonance;
  float a1 = 1.0f / (1.0f + g * (g + k));
  float a2 = g * a1;
  float a3 = g * a2;
  float v3 = input - filter.low;
  float v1 = a1 * filter.band + a2 * v3;
  float v2 = filter.low + a2 * filter.band + a3 * v3;
  filter.band = 2.0f * v1 - filter.band;
  filter.low = 2.0f * v2 - filter.low;
  return {v2, v1, input - k * v1 - v2};
}

void ScaleToRms(std::vector<float>& signal, float rms) {
  double sum = 0.0;
  for (float s : signal) sum += static_cast<double>(s) * s;
  if (signal.empty() || sum <= 0.0) return;
  float scale = rms / static_cast<float>(std::sqrt(sum / signal.size()));
  for (float& s : signal) s *= scale;
}

float SmoothStep(float edge0, float edge1, float x) {
  float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

void AddWrapped(std::vector<float>& samples, int channels, int channel, size_t frame, const std::vector<float>& sound) {
  size_t frames = samples.size() / channels;
  if (frames == 0) return;
  for (size_t i = 0; i < sound.size(); ++i) {
    samples[((frame + i) % frames) * channels + channel] += sound[i];
  }
}
