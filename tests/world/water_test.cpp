// The water: its square, its height, its turning texture and the state it leaves behind.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>

#include "common/frame_time.h"
#include "world/water.h"
#include "world_files.h"

namespace {
// One frame of the water in feedback mode; every vertex drawn (the quad may come back as
// two triangles).
FedPolygon WaterFrame(float seconds) {
  SetFrameSpeed(seconds);
  FedPolygon vertices;
  for (const FedPolygon& polygon : FeedBackPolygons([] { glEnable(GL_TEXTURE_2D), DrawWater(); }))
    vertices.insert(vertices.end(), polygon.begin(), polygon.end());
  EXPECT_GE(vertices.size(), 4u);
  return vertices;
}

// The degrees by which the texture was turned: corner (1, 0) at the south-east goes to (cos, sin).
float TurnOf(const FedPolygon& quad) {
  for (const FedVertex& v : quad)
    if (std::fabs(v.x - 10120.0f) + std::fabs(v.z - 5000.0f) < 1.0f) return float(std::atan2(v.t, v.s) * 180 / M_PI);
  ADD_FAILURE() << "no vertex at the square's south-east corner";
  return 0.0f;
}

float HeightOf(const FedPolygon& quad) { return quad.empty() ? 0.0f : quad.front().y; }
}  // namespace

using Water = WorldTest;

// The first frame covers the sea at sea level. The phase gains 0.01 a second (pi / 40 takes
// 7.854 seconds); the angle 5.1 degrees a second, this frame's step showing next frame. After
// days of running both still move, and the texture matrix, blending and matrix mode are left as found.
TEST_F(Water, CoversTheSeaBobsTurnsAndLeavesTheStateAsFound) {
  WritePicture(WaterTextureFile, 256, 256, 24, [](int i, int j) { return Rgba{uint8_t(i), uint8_t(j), 200}; });
  LoadWaterTexture();
  std::set<std::array<long, 4>> corners;  // x, z, s, t
  for (const FedVertex& v : WaterFrame(0.0f)) {
    corners.insert({std::lround(v.x), std::lround(v.z), std::lround(v.s), std::lround(v.t)});
    const float seen[5] = {v.y, v.r, v.g, v.b, v.a}, want[5] = {25.0f, 0.4f, 0.4f, 1.0f, 0.5f};
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(seen[i], want[i], i ? 1e-5f : 0.01f) << "value " << i;
  }
  EXPECT_EQ(corners, (std::set<std::array<long, 4>>{
                         {-5000, 5000, 0, 0}, {-5000, -10120, 0, 1}, {10120, -10120, 1, 1}, {10120, 5000, 1, 0}}));
  FedPolygon first = WaterFrame(float(M_PI / 40.0 / 0.01));
  EXPECT_NEAR(HeightOf(first), 27.0f, 0.01f);
  EXPECT_NEAR(TurnOf(first), 0.0f, 1e-4f) << "the unturned texture first";
  EXPECT_NEAR(HeightOf(WaterFrame(float(M_PI / 20.0 / 0.01))), 23.0f, 0.01f) << "half a cycle on";
  EXPECT_NEAR(HeightOf(WaterFrame(0.0f)), 23.0f, 0.01f) << "a frame of no time moves nothing";
  float turned = TurnOf(WaterFrame(0.25f));
  WaterFrame(0.25f);
  WaterFrame(0.5f);
  EXPECT_NEAR(TurnOf(WaterFrame(0.0f)) - turned, 5.1f, 1e-3f);
  for (int day = 0; day < 5; ++day) WaterFrame(86400.0f + 0.137f);
  float angle = WaterAngle(), phase = WaterPhase();
  EXPECT_TRUE(angle >= 0.0f && angle < 360.0f) << angle;
  EXPECT_TRUE(phase >= 0.0f && phase < float(M_PI / 10.0)) << phase;
  WaterFrame(0.001f);  // too small a step to register on an unbounded angle
  EXPECT_NEAR(WaterAngle() - angle, 0.0051f, 1e-4f);
  EXPECT_NEAR(WaterPhase() - phase, 0.00001f, 1e-6f);
  float m[16];
  glGetFloatv(GL_TEXTURE_MATRIX, m);
  for (int k = 0; k < 16; ++k) EXPECT_EQ(m[k], k % 5 == 0 ? 1.0f : 0.0f) << k;
  EXPECT_EQ(std::pair(GetInteger(GL_MATRIX_MODE), GetInteger(GL_TEXTURE_STACK_DEPTH)), std::pair(GL_MODELVIEW, 1));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Added to what lies below it, at half its colour: over dark red, a white texture gives
// (100, 0, 0) + 0.5 x (0.4, 0.4, 1) x 255.
TEST_F(Water, BlendsOntoWhatLiesBelowIt) {
  WritePicture(WaterTextureFile, 256, 256, 24, [](int, int) { return Rgba{255, 255, 255}; });
  LoadWaterTexture();
  glClearColor(100 / 255.0f, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  LookStraightDown(0.0f, 4960.0f);
  glEnable(GL_TEXTURE_2D);
  DrawWater();
  const Rgba seen = ReadPixel(200, 200);
  EXPECT_TRUE(std::abs(seen.r - 151) <= 1 && std::abs(seen.g - 51) <= 1 && std::abs(seen.b - 128) <= 1)
      << int(seen.r) << " " << int(seen.g) << " " << int(seen.b);
}
