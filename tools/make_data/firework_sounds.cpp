// The whistle and the pop of a firework shell.
#include "firework_sounds.h"

#include <cmath>

#include "noise.h"
#include "sound_tools.h"

namespace {

constexpr float WhistleSeconds = 2.4f;
constexpr float PopSeconds = 1.3f;

}  // namespace

Sound MakeWhistle() {
  Sound sound = MakeSound(SampleRate, 1, WhistleSeconds);
  std::vector<float> noise = WhiteNoise(sound.samples.size(), 400);
  StateVariable breath{0, 0};
  float phase = 0.0f;
  for (size_t n = 0; n < sound.samples.size(); ++n) {
    float t = static_cast<float>(n) / SampleRate;
    float along = t / WhistleSeconds;
    // The pitch climbs fast at first and slows as the shell loses speed.
    float hertz = 700.0f * std::pow(2600.0f / 700.0f, std::pow(along, 0.75f));
    hertz *= 1.0f + 0.012f * std::sin(2.0f * Pi * 23.0f * t);
    phase += 2.0f * Pi * hertz / SampleRate;
    if (phase > 2.0f * Pi) phase -= 2.0f * Pi;
    float tone = std::sin(phase) + 0.18f * std::sin(2.0f * phase) + 0.06f * std::sin(3.0f * phase);
    float air = Filter(breath, noise[n], hertz, 6.0f).band;
    float envelope = SmoothStep(0.0f, 0.08f, t) * (1.0f - SmoothStep(WhistleSeconds - 0.45f, WhistleSeconds, t));
    float flutter = 0.85f + 0.15f * std::sin(2.0f * Pi * 7.0f * t);
    sound.samples[n] = envelope * flutter * (0.8f * tone + 1.6f * air);
  }
  return sound;
}

namespace {

// The crackle: sparks snapping after the burst, thinning out.
void AddCrackle(std::vector<float>& samples, const std::vector<float>& noise) {
  const size_t frames = samples.size();
  Random random{0xc4acu};
  for (int i = 0; i < 40; ++i) {
    float at = 0.03f + 0.5f * std::pow(RandomUnit(random), 1.6f);
    float strength = 0.35f * (1.0f - at / 0.6f) * RandomRange(random, 0.3f, 1.0f);
    size_t start = static_cast<size_t>(at * SampleRate);
    size_t length = static_cast<size_t>(RandomRange(random, 0.002f, 0.006f) * SampleRate);
    for (size_t k = 0; k < length && start + k < frames; ++k) {
      float t = static_cast<float>(k) / length;
      samples[start + k] += strength * noise[(start * 7 + k) % frames] * std::sin(Pi * t);
    }
  }
}

}  // namespace

Sound MakePop() {
  Sound sound = MakeSound(SampleRate, 1, PopSeconds);
  const size_t frames = sound.samples.size();
  std::vector<float> noise = WhiteNoise(frames, 500);
  StateVariable crackFilter{0, 0}, tailFilter{0, 0};
  OnePole thumpNoise{0};
  const float thumpCoefficient = OnePoleCoefficient(160.0f);
  float phase = 0.0f;
  for (size_t n = 0; n < frames; ++n) {
    float t = static_cast<float>(n) / SampleRate;
    float onset = SmoothStep(0.0f, 0.0015f, t);
    // The crack: a bright burst gone within a few hundredths of a second.
    float crack = Filter(crackFilter, noise[n], 1800.0f, 0.6f).high * std::exp(-t / 0.012f);
    // The thump: a falling low tone and rumble.
    phase += 2.0f * Pi * (48.0f + 90.0f * std::exp(-t / 0.035f)) / SampleRate;
    float thump = std::sin(phase) * std::exp(-t / 0.16f) +
                  3.0f * LowPass(thumpNoise, noise[n], thumpCoefficient) * std::exp(-t / 0.22f);
    // The tail: noise darkening as it fades, like the burst echoing away.
    float tail = Filter(tailFilter, noise[n], 250.0f + 1500.0f * std::exp(-t / 0.2f), 0.7f).low * std::exp(-t / 0.3f);
    float fadeOut = 1.0f - SmoothStep(PopSeconds - 0.25f, PopSeconds, t);
    sound.samples[n] = onset * fadeOut * (1.1f * crack + 0.75f * thump + 0.6f * tail);
  }
  AddCrackle(sound.samples, noise);
  return sound;
}
