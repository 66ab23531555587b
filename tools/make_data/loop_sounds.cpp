// Ambient, rain and wind loops, built from noise that repeats with the loop.
#include "loop_sounds.h"

#include <cmath>

#include "noise.h"
#include "sound_tools.h"

namespace {

constexpr float AmbientSeconds = 20.0f;
constexpr float RainSeconds = 8.0f;
constexpr float WindSeconds = 12.0f;

// One wave reaching the shore: a swell, the break and the wash running back.
struct Wave {
  float start;     // seconds into the loop
  float strength;  // 0..1
  float pan;       // 0 left .. 1 right
};

constexpr Wave Waves[] = {
    {0.4f, 1.0f, 0.4f},
    {5.5f, 0.75f, 0.65f},
    {10.3f, 0.95f, 0.5f},
    {15.6f, 0.7f, 0.3f},
};

// How far a wave is from breaking (swell) and how loud its foam is (surge) at `since`
// seconds after it began; both have died away long before it comes round again.
float Swell(float since) { return SmoothStep(0.0f, 1.8f, since) * std::exp(-std::fmax(0.0f, since - 1.8f) / 1.6f); }
float Surge(float since) {
  float tail = 1.0f - SmoothStep(12.0f, 15.0f, since);
  return SmoothStep(1.0f, 2.1f, since) * std::exp(-std::fmax(0.0f, since - 2.1f) / 1.3f) * tail;
}

float SinceWave(const Wave& wave, float t, float loop) { return std::fmod(t - wave.start + loop, loop); }

// The sea on one side of the stereo field.
std::vector<float> SeaChannel(size_t frames, int channel) {
  std::vector<float> roarNoise = WhiteNoise(frames, 100 + channel);
  std::vector<float> foamNoise = WhiteNoise(frames, 110 + channel);
  OnePole roarA{0}, roarB{0};
  StateVariable foam{0, 0}, fizz{0, 0};
  const float roarCoefficient = OnePoleCoefficient(220.0f);
  std::vector<float> roar = LoopSignal(frames, [&](size_t n) {
    float t = static_cast<float>(n) / SampleRate;
    float swell = 0.0f;
    for (const Wave& wave : Waves) swell += wave.strength * Swell(SinceWave(wave, t, AmbientSeconds));
    float low = LowPass(roarB, LowPass(roarA, roarNoise[n], roarCoefficient), roarCoefficient);
    return low * (0.45f + swell);
  });
  std::vector<float> wash = LoopSignal(frames, [&](size_t n) {
    float t = static_cast<float>(n) / SampleRate;
    float surge = 0.0f;
    for (const Wave& wave : Waves) {
      float side = channel == 0 ? 1.0f - wave.pan : wave.pan;
      surge += wave.strength * (0.5f + side) * Surge(SinceWave(wave, t, AmbientSeconds));
    }
    float body = Filter(foam, foamNoise[n], 350.0f + 3200.0f * surge, 0.8f).low;
    float bubbles = Filter(fizz, foamNoise[n], 5200.0f, 0.6f).band;
    return body * (0.05f + surge) + bubbles * 0.35f * surge * surge;
  });
  ScaleToRms(roar, 0.09f);
  ScaleToRms(wash, 0.16f);
  for (size_t n = 0; n < frames; ++n) roar[n] += wash[n];
  return roar;
}

// Wind stirring grass: a soft high rustle that swells and fades.
std::vector<float> GrassChannel(size_t frames, int channel) {
  std::vector<float> noise = WhiteNoise(frames, 120 + channel);
  StateVariable rustle{0, 0};
  std::vector<float> grass = LoopSignal(frames, [&](size_t n) {
    float loop = static_cast<float>(n) / frames;
    float breeze = SmoothStep(0.3f, 0.75f, LoopFbm(loop, 8, 3, 0.5f, 130 + channel));
    return Filter(rustle, noise[n], 3000.0f + 1500.0f * breeze, 0.7f).band * (0.25f + breeze);
  });
  ScaleToRms(grass, 0.025f);
  return grass;
}

// One bird call: a few quick notes, each a gliding whistle with a faint overtone.
std::vector<float> BirdCall(Random& random) {
  std::vector<float> call;
  int notes = 3 + static_cast<int>(RandomUnit(random) * 4.0f);
  float high = RandomRange(random, 3400.0f, 4600.0f);
  float glide = RandomRange(random, -0.45f, 0.2f);
  for (int note = 0; note < notes; ++note) {
    float duration = RandomRange(random, 0.06f, 0.13f);
    float gap = RandomRange(random, 0.04f, 0.1f);
    size_t length = static_cast<size_t>(duration * SampleRate);
    float from = high * RandomRange(random, 0.92f, 1.05f);
    float to = from * (1.0f + glide * RandomRange(random, 0.7f, 1.2f));
    float trill = RandomUnit(random) < 0.4f ? RandomRange(random, 25.0f, 45.0f) : 0.0f;
    float phase = 0.0f;
    for (size_t i = 0; i < length; ++i) {
      float t = static_cast<float>(i) / length;
      float hertz = from + (to - from) * t + 180.0f * std::sin(2.0f * Pi * trill * i / SampleRate);
      phase += 2.0f * Pi * hertz / SampleRate;
      float envelope = std::sin(Pi * t);
      call.push_back(envelope * envelope * (std::sin(phase) + 0.12f * std::sin(2.0f * phase)));
    }
    call.resize(call.size() + static_cast<size_t>(gap * SampleRate), 0.0f);
  }
  return call;
}

// Interleaves two channels.
void Interleave(Sound& sound, const std::vector<float>& left, const std::vector<float>& right) {
  for (size_t n = 0; n < left.size(); ++n) {
    sound.samples[2 * n] = left[n];
    sound.samples[2 * n + 1] = right[n];
  }
}

// One rain drop: a very short ringing tick, brighter and shorter for small drops.
std::vector<float> Drop(float hertz, float decaySeconds, float amplitude, float phase) {
  size_t length = static_cast<size_t>(decaySeconds * 6.0f * SampleRate) + 1;
  std::vector<float> drop(length);
  for (size_t i = 0; i < length; ++i) {
    float t = static_cast<float>(i) / SampleRate;
    float onset = std::fmin(1.0f, i / 4.0f);
    drop[i] =
        amplitude * onset * std::exp(-t / decaySeconds) * std::sin(2.0f * Pi * hertz * t * (1.0f - 2.0f * t) + phase);
  }
  return drop;
}

}  // namespace

Sound MakeAmbient() {
  Sound sound = MakeSound(SampleRate, 2, AmbientSeconds);
  size_t frames = sound.samples.size() / 2;
  std::vector<float> channels[2];
  for (int c = 0; c < 2; ++c) {
    channels[c] = SeaChannel(frames, c);
    std::vector<float> grass = GrassChannel(frames, c);
    for (size_t n = 0; n < frames; ++n) channels[c][n] += grass[n];
  }
  Interleave(sound, channels[0], channels[1]);
  // Three calls from birds at different places, between the waves.
  Random random{0xb12du};
  const float callTimes[] = {4.6f, 9.9f, 19.3f};
  const float callPans[] = {0.25f, 0.8f, 0.55f};
  for (int i = 0; i < 3; ++i) {
    std::vector<float> call = BirdCall(random);
    for (float& s : call) s *= 0.32f;
    size_t at = static_cast<size_t>(callTimes[i] * SampleRate);
    std::vector<float> left = call, right = call;
    for (size_t k = 0; k < call.size(); ++k) {
      left[k] *= 1.0f - callPans[i];
      right[k] *= callPans[i];
    }
    AddWrapped(sound.samples, 2, 0, at, left);
    AddWrapped(sound.samples, 2, 1, at, right);
  }
  return sound;
}

namespace {

// The far rain's soft hiss and a low rumble, for one channel.
std::vector<float> RainBed(size_t frames, int c) {
  std::vector<float> noise = WhiteNoise(frames, 200 + c);
  StateVariable highCut{0, 0}, lowCut{0, 0};
  OnePole patter{0};
  const float patterCoefficient = OnePoleCoefficient(300.0f);
  std::vector<float> hiss = LoopSignal(frames, [&](size_t n) {
    float loop = static_cast<float>(n) / frames;
    float band = Filter(lowCut, Filter(highCut, noise[n], 7000.0f, 0.7f).low, 900.0f, 0.7f).high;
    return band * (0.9f + 0.2f * LoopFbm(loop, 16, 2, 0.5f, 210 + c));
  });
  std::vector<float> rumble = LoopSignal(
      frames, [&](size_t n) { return LowPass(patter, noise[(n + frames / 2) % frames], patterCoefficient); });
  ScaleToRms(hiss, 0.06f);
  ScaleToRms(rumble, 0.03f);
  for (size_t n = 0; n < frames; ++n) hiss[n] += rumble[n];
  return hiss;
}

// The drops of one channel. Drops near the loop's join are kept small, so that both ends
// of the loop are equally loud.
void AddRainDrops(Sound& sound, int c) {
  const size_t frames = sound.samples.size() / 2;
  const float joinSeconds = 0.08f;  // no big drop this close to either end of the loop
  Random random{0x7a1du + static_cast<uint32_t>(c)};
  // Drops on leaves and ground nearby: about 70 a second, most of them light.
  const int nearDrops = static_cast<int>(RainSeconds * 70.0f);
  for (int i = 0; i < nearDrops; ++i) {
    size_t at = static_cast<size_t>(RandomUnit(random) * frames);
    float size = RandomUnit(random);
    float hertz = 1400.0f * std::pow(2.6f, RandomUnit(random)) * (1.3f - 0.4f * size);
    float level = 0.05f + 0.3f * size * size;
    AddWrapped(sound.samples, 2, c, at,
               Drop(hertz, RandomRange(random, 0.002f, 0.006f), level, RandomRange(random, 0.0f, 2.0f * Pi)));
  }
  // Now and then a heavy drop close by: lower and longer, well above the rest.
  const int heavyDrops = static_cast<int>(RainSeconds * 6.0f);
  for (int i = 0; i < heavyDrops; ++i) {
    float t = RandomRange(random, joinSeconds, RainSeconds - joinSeconds);
    size_t at = static_cast<size_t>(t * SampleRate);
    AddWrapped(sound.samples, 2, c, at,
               Drop(RandomRange(random, 700.0f, 1600.0f), RandomRange(random, 0.008f, 0.016f),
                    RandomRange(random, 0.35f, 0.6f), 0.0f));
  }
}

}  // namespace

// Rain is heard as a patter: separate drops, each a tick that rings for a few
// milliseconds, over a soft hiss of the far rain.
Sound MakeRain() {
  Sound sound = MakeSound(SampleRate, 2, RainSeconds);
  const size_t frames = sound.samples.size() / 2;
  for (int c = 0; c < 2; ++c) {
    std::vector<float> bed = RainBed(frames, c);
    for (size_t n = 0; n < frames; ++n) sound.samples[2 * n + c] = bed[n];
    AddRainDrops(sound, c);
  }
  return sound;
}

Sound MakeWind() {
  Sound sound = MakeSound(SampleRate, 1, WindSeconds);
  size_t frames = sound.samples.size();
  std::vector<float> noise = WhiteNoise(frames, 300);
  StateVariable howl{0, 0}, body{0, 0}, hiss{0, 0};
  std::vector<float> howlPart, bodyPart, hissPart;
  auto gust = [&](size_t n) {
    float loop = static_cast<float>(n) / frames;
    return SmoothStep(0.3f, 0.7f, LoopFbm(loop, 5, 3, 0.45f, 310));
  };
  howlPart = LoopSignal(frames, [&](size_t n) {
    float g = gust(n);
    float waver = LoopNoise(static_cast<float>(n) / frames, 60, 320);
    return Filter(howl, noise[n], 320.0f + 520.0f * g + 90.0f * waver, 5.0f).band * (0.15f + g);
  });
  bodyPart = LoopSignal(frames, [&](size_t n) {
    float g = gust(n);
    return Filter(body, noise[n], 200.0f + 700.0f * g, 0.7f).low * (0.3f + g);
  });
  hissPart = LoopSignal(frames, [&](size_t n) {
    float g = gust(n);
    return Filter(hiss, noise[n], 2200.0f + 1800.0f * g, 0.9f).band * g * g;
  });
  ScaleToRms(howlPart, 0.12f);
  ScaleToRms(bodyPart, 0.15f);
  ScaleToRms(hissPart, 0.03f);
  for (size_t n = 0; n < frames; ++n) sound.samples[n] = howlPart[n] + bodyPart[n] + hissPart[n];
  return sound;
}
