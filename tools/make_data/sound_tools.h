// Building blocks of the sounds: noise that repeats with a loop, filters, envelopes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int SampleRate = 44100;  // samples per second per channel
constexpr float Pi = 3.14159265358979f;

// `count` samples of white noise in -1..1 from a numbered starting value.
std::vector<float> WhiteNoise(size_t count, uint32_t start);

// A one-pole low-pass filter: smooths towards its input.
struct OnePole {
  float state;
};
// The step size for a corner frequency in hertz.
float OnePoleCoefficient(float hertz);
float LowPass(OnePole& filter, float input, float coefficient);

// A state-variable filter (trapezoidal form): stays stable while its frequency and
// resonance change from sample to sample.
struct StateVariable {
  float low;  // integrator states
  float band;
};
struct FilterOutputs {
  float low;
  float band;
  float high;
};
FilterOutputs Filter(StateVariable& filter, float input, float hertz, float resonance);

// Runs `step` (frame index to sample) over two turns of a loop of `frames` and keeps
// the second, so every filter inside enters the loop in the state it leaves it in.
template <typename Step>
std::vector<float> LoopSignal(size_t frames, Step step) {
  std::vector<float> out(frames);
  for (size_t k = 0; k < 2 * frames; ++k) {
    float value = step(k % frames);
    if (k >= frames) out[k - frames] = value;
  }
  return out;
}

// Scales a signal to the given root-mean-square level.
void ScaleToRms(std::vector<float>& signal, float rms);

// Smooth 0..1 rise of x from edge0 to edge1.
float SmoothStep(float edge0, float edge1, float x);

// Adds a mono sound into one channel of an interleaved buffer at a frame offset,
// wrapping past the end to the start, as a loop plays it.
void AddWrapped(std::vector<float>& samples, int channels, int channel, size_t frame, const std::vector<float>& sound);
