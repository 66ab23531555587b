// The plant and glow sprites: blades painted as chains of discs, and a radial glow.
#include "sprite_pictures.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace {

constexpr int PlantSize = 256;  // texels each way
constexpr int GlowSize = 64;    // texels each way

uint8_t ToByte(float value) { return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

// One grass blade or leaf: a curved spine from its foot on the bottom row, its width
// tapering (or swelling, for a leaf) along the way.
struct Blade {
  float footX;    // texels from the left
  float length;   // texels along the spine
  float lean;     // radians from upright at the foot
  float bend;     // extra radians of lean gained by the tip
  float width;    // texels at the widest
  bool leaf;      // broad in the middle rather than at the foot
  float head;     // texels of grain ear at the tip; 0 for none
  float r, g, b;  // colour at the tip; the foot is darker
};

// Paints one disc of the blade at (x, y), keeping the nearer colour where blades overlap.
void PaintDisc(Picture& plant, float x, float y, float radius, float r, float g, float b) {
  int x0 = std::max(0, static_cast<int>(std::floor(x - radius)));
  int x1 = std::min(PlantSize - 1, static_cast<int>(std::ceil(x + radius)));
  int y0 = std::max(0, static_cast<int>(std::floor(y - radius)));
  int y1 = std::min(PlantSize - 1, static_cast<int>(std::ceil(y + radius)));
  for (int py = y0; py <= y1; ++py) {
    for (int px = x0; px <= x1; ++px) {
      float dx = px + 0.5f - x;
      float dy = py + 0.5f - y;
      if (dx * dx + dy * dy > radius * radius) continue;
      // A lighter midrib, darker towards the blade's sides.
      float side = radius > 0.0f ? std::sqrt(dx * dx + dy * dy) / radius : 0.0f;
      float shade = 1.08f - 0.3f * side * side;
      uint8_t* p = &plant.pixels[(static_cast<size_t>(py) * PlantSize + px) * 4];
      p[0] = ToByte(r * shade);
      p[1] = ToByte(g * shade);
      p[2] = ToByte(b * shade);
      p[3] = 255;
    }
  }
}

void PaintBlade(Picture& plant, const Blade& blade) {
  float x = blade.footX;
  float y = 0.0f;
  const float step = 0.5f;  // texels along the spine
  for (float s = 0.0f; s < blade.length; s += step) {
    float t = s / blade.length;
    float angle = blade.lean + blade.bend * t * t;
    float shape = blade.leaf ? std::sin(3.14159265f * std::pow(t, 0.7f)) : std::pow(1.0f - t, 0.7f);
    float radius = 0.5f * blade.width * shape + 0.35f;
    float light = 0.55f + 0.45f * t;
    float fromHead = s - (blade.length - blade.head);
    if (blade.head > 0.0f && fromHead > 0.0f) {
      // A slim ear of grain: swelling, then tapering to the tip.
      float h = fromHead / blade.head;
      PaintDisc(plant, x, y, 1.0f + 3.2f * std::sin(3.14159265f * std::pow(h, 0.6f)), 196.0f, 176.0f, 112.0f);
    } else {
      PaintDisc(plant, x, y, radius, blade.r * light, blade.g * light, blade.b * light);
    }
    x += step * std::sin(angle);
    y += step * std::cos(angle);
  }
}

// Clear texels take the mean colour of the plant, so that filtering at the cut-out
// edge blends towards green and not towards black.
void FillClearTexels(Picture& plant) {
  double sum[3] = {0, 0, 0};
  double count = 0;
  for (size_t i = 0; i < plant.pixels.size(); i += 4) {
    if (plant.pixels[i + 3] == 0) continue;
    for (int c = 0; c < 3; ++c) sum[c] += plant.pixels[i + c];
    count += 1;
  }
  if (count == 0) return;
  for (size_t i = 0; i < plant.pixels.size(); i += 4) {
    if (plant.pixels[i + 3] != 0) continue;
    for (int c = 0; c < 3; ++c) plant.pixels[i + c] = ToByte(static_cast<float>(sum[c] / count));
  }
}

}  // namespace

Picture MakePlant() {
  Picture plant = MakePicture(PlantSize, PlantSize, 4);
  Random random{0x51a7u};
  // Back to front: long pale blades behind, broad leaves in the middle, short dark
  // blades in front, so nearer parts are painted last.
  constexpr int BladeCount = 34;
  for (int i = 0; i < BladeCount; ++i) {
    Blade blade;
    float spread = RandomNormal(random) * 0.33f;
    blade.footX = PlantSize * 0.5f + spread * 60.0f;
    blade.leaf = (i % 5) == 2;
    blade.head = 0.0f;
    blade.length = blade.leaf ? RandomRange(random, 90.0f, 150.0f)
                              : RandomRange(random, 140.0f, 245.0f) * (1.0f - 0.25f * std::fabs(spread));
    blade.lean = spread * 0.9f + RandomRange(random, -0.12f, 0.12f);
    blade.bend = (blade.lean >= 0.0f ? 1.0f : -1.0f) * RandomRange(random, 0.1f, 0.6f + 1.6f * std::fabs(spread));
    blade.width = blade.leaf ? RandomRange(random, 14.0f, 20.0f) : RandomRange(random, 4.5f, 8.5f);
    float tint = RandomUnit(random);
    float depth = static_cast<float>(i) / BladeCount;  // 0 at the back
    blade.r = 70.0f + 70.0f * tint;
    blade.g = 150.0f + 60.0f * (1.0f - depth) + 20.0f * tint;
    blade.b = 40.0f + 20.0f * tint;
    PaintBlade(plant, blade);
  }
  // Three stalks in ear, standing above the blades.
  for (int i = 0; i < 3; ++i) {
    float spread = RandomRange(random, -0.3f, 0.3f);
    Blade stalk{PlantSize * 0.5f + spread * 50.0f,
                RandomRange(random, 215.0f, 250.0f),
                spread * 0.5f,
                spread * 0.8f,
                3.0f,
                false,
                34.0f,
                150.0f,
                165.0f,
                90.0f};
    PaintBlade(plant, stalk);
  }
  FillClearTexels(plant);
  return plant;
}

// Straight alpha: the colour is near white over the whole square, so whatever texel a
// one-pixel spark samples shows its firework's own colour, and the whirlwind's squares
// (drawn under the alpha test, unblended) show bright discs without a dark rim. The
// alpha alone shapes the glow: fully opaque over the inner 70 % of the radius, then a
// soft fall to nothing at the edge (a one-pixel spark samples opaque texels more often
// than not); a close look shows a white-hot middle fading to a faintly warm rim.
Picture MakeGlow() {
  Picture glow = MakePicture(GlowSize, GlowSize, 4);
  const float centre = GlowSize * 0.5f;
  for (int y = 0; y < GlowSize; ++y) {
    for (int x = 0; x < GlowSize; ++x) {
      float r = std::hypot(x + 0.5f - centre, y + 0.5f - centre) / centre;  // 1 at the edge
      float fall = std::clamp((r - 0.7f) / 0.3f, 0.0f, 1.0f);
      float alpha = 1.0f - fall * fall * (3.0f - 2.0f * fall);
      float warmth = std::clamp((r - 0.3f) / 0.7f, 0.0f, 1.0f);  // 0 in the middle, 1 at the rim
      uint8_t* p = &glow.pixels[(static_cast<size_t>(y) * GlowSize + x) * 4];
      p[0] = 255;
      p[1] = ToByte(255.0f - 10.0f * warmth);
      p[2] = ToByte(255.0f - 28.0f * warmth);
      p[3] = ToByte(255.0f * alpha);
    }
  }
  return glow;
}
