// The water: its height, its turning texture and the state it leaves behind.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/frame_rate.h"
#include "world/water.h"
#include "world_files.h"

namespace {
const float Lo = -5200.0f, Hi = 10200.0f;  // world units seen across the window

void WriteWater() {
  WriteBmp("water.bmp", 256, 256, [](int i, int j) {
    return Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(j), 200};
  });
}

// One frame of the water, drawn in feedback mode; every vertex that reached the
// window (the quad may come back as two triangles).
FedPolygon WaterFrame(float seconds) {
  SetFrameSpeed(seconds);
  LookStraightDown(Lo, Hi);
  FedPolygon vertices;
  for (const FedPolygon& polygon : FeedBackPolygons([] {
         glEnable(GL_TEXTURE_2D);
         DrawWater();
       }))
    vertices.insert(vertices.end(), polygon.begin(), polygon.end());
  EXPECT_GE(vertices.size(), 4u);
  return vertices;
}

// The degrees by which the texture was turned: corner (1, 0) goes to (cos, sin).
float TurnOf(const FedPolygon& quad) {
  for (const FedVertex& v : quad) {
    if (std::fabs(WorldX(v, Lo, Hi) - 10120.0f) < 1.0f && std::fabs(WorldZ(v, Lo, Hi) - 5000.0f) < 1.0f)
      return static_cast<float>(std::atan2(v.tex[1], v.tex[0]) * 180.0 / M_PI);
  }
  ADD_FAILURE() << "no vertex at the square's south-east corner";
  return 0.0f;
}

float HeightOf(const FedPolygon& quad) { return quad.empty() ? 0.0f : WorldY(quad.front()); }
}  // namespace

using Water = WorldTest;

TEST_F(Water, SquareCoversTheSeaAtSeaLevelOnTheFirstFrame) {
  WriteWater();
  LoadWaterTexture();
  FedPolygon quad = WaterFrame(0.0f);
  struct Corner {
    float x, z, s, t;
  } corners[] = {{-5000, 5000, 0, 0}, {-5000, -10120, 0, 1}, {10120, -10120, 1, 1}, {10120, 5000, 1, 0}};
  int seen[4] = {};
  for (const FedVertex& v : quad) {
    int k = 0;
    while (k < 4 && std::fabs(WorldX(v, Lo, Hi) - corners[k].x) +
                            std::fabs(WorldZ(v, Lo, Hi) - corners[k].z) > 2.0f)
      ++k;
    ASSERT_LT(k, 4) << "a vertex away from the square's corners";
    ++seen[k];
    EXPECT_NEAR(WorldY(v), 25.0f, 0.01f);
    EXPECT_NEAR(v.tex[0], corners[k].s, 1e-6f);
    EXPECT_NEAR(v.tex[1], corners[k].t, 1e-6f);
    EXPECT_NEAR(v.colour[0], 0.4f, 1e-6f);
    EXPECT_NEAR(v.colour[1], 0.4f, 1e-6f);
    EXPECT_NEAR(v.colour[2], 1.0f, 1e-6f);
    EXPECT_NEAR(v.colour[3], 0.5f, 1e-6f);
  }
  for (int k = 0; k < 4; ++k) EXPECT_GT(seen[k], 0) << "corner " << k;
}

// The phase gains 0.01 a second (pi / 40 takes 7.854 seconds); the angle 5.1
// degrees a second, this frame's step showing next frame. After days of running
// both still move, and the texture matrix, blending and matrix mode are left as found.
TEST_F(Water, BobsTurnsAndLeavesTheStateAsFound) {
  WriteWater();
  LoadWaterTexture();
  FedPolygon first = WaterFrame(static_cast<float>(M_PI / 40.0 / 0.01));
  EXPECT_NEAR(HeightOf(first), 27.0f, 0.01f);
  EXPECT_NEAR(TurnOf(first), 0.0f, 1e-4f) << "the unturned texture first";
  EXPECT_NEAR(HeightOf(WaterFrame(static_cast<float>(M_PI / 20.0 / 0.01))), 23.0f, 0.01f) << "half a cycle on";
  EXPECT_NEAR(HeightOf(WaterFrame(0.0f)), 23.0f, 0.01f) << "a frame of no time moves nothing";
  float turned = TurnOf(WaterFrame(0.25f));
  WaterFrame(0.25f);
  WaterFrame(0.5f);
  EXPECT_NEAR(TurnOf(WaterFrame(0.0f)) - turned, 5.1f, 1e-3f);
  for (int day = 0; day < 5; ++day) WaterFrame(86400.0f + 0.137f);
  float angle = WaterAngle(), phase = WaterPhase();
  EXPECT_TRUE(angle >= 0.0f && angle < 360.0f) << angle;
  EXPECT_TRUE(phase >= 0.0f && phase < static_cast<float>(M_PI / 10.0)) << phase;
  WaterFrame(0.001f);  // too small a step to register on an unbounded angle
  EXPECT_NEAR(WaterAngle() - angle, 0.0051f, 1e-4f);
  EXPECT_NEAR(WaterPhase() - phase, 0.00001f, 1e-6f);
  float m[16];
  glGetFloatv(GL_TEXTURE_MATRIX, m);
  for (int k = 0; k < 16; ++k) EXPECT_EQ(m[k], k % 5 == 0 ? 1.0f : 0.0f) << k;
  GLint mode = 0, depth = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &depth);
  EXPECT_EQ(std::pair(mode, depth), std::pair(GL_MODELVIEW, 1));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
