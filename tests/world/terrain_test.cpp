// The terrain: the height query over a known heightmap and what is drawn.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/message_box.h"
#include "world/terrain.h"
#include "world_files.h"

namespace {
// Red of heightmap pixel (i, j); green and blue are noise the terrain must ignore.
int Red(int i, int j) { return (i * 37 + j * 11 + 5) % 256; }

void WriteHeightmap() {
  WriteBmp("heightmap.bmp", 32, 32, [](int i, int j) {
    return Rgb{static_cast<uint8_t>(Red(i, j)), static_cast<uint8_t>(255 - Red(i, j)), 77};
  });
}

void WriteSolidTexture(Rgb colour) {
  WriteBmp("image1.bmp", 256, 256, [=](int, int) { return colour; });
}
}  // namespace

using Terrain = WorldTest;

TEST_F(Terrain, HeightQueryFollowsTheHeightmap) {
  WriteHeightmap();
  WriteSolidTexture({128, 128, 128});
  LoadTerrain();
  ASSERT_TRUE(RecordedMessageBoxes().empty());
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    const char* what;
    float x, z, height;
  } cases[] = {
      {"corner (0, 0)", 0.0f, 0.0f, 5.0f},
      {"grid point (1, 0)", 160.0f, 0.0f, 42.0f},
      {"grid point (31, 31)", 4960.0f, -4960.0f, static_cast<float>(Red(31, 31))},
      {"middle of the first cell: mean of 5, 42, 16, 53", 80.0f, -80.0f, 29.0f},
      {"a quarter along x", 40.0f, 0.0f, 0.75f * 5.0f + 0.25f * 42.0f},
      {"between column 31 and column 0", 5040.0f, 0.0f, 0.5f * Red(31, 0) + 0.5f * Red(0, 0)},
      {"between row 31 and row 0", 0.0f, -5040.0f, 0.5f * Red(0, 31) + 0.5f * Red(0, 0)},
      {"west of the island: on its west edge", -300.0f, 0.0f, 5.0f},
      {"far east: on the east edge", 9000.0f, -80.0f, 0.5f * Red(31, 0) + 0.5f * Red(31, 1)},
      {"far north-east: the last corner", 5120.0f, -5120.0f, static_cast<float>(Red(31, 31))},
      {"not a number: the first corner", nan, nan, 5.0f},
  };
  for (const Case& c : cases) EXPECT_EQ(TerrainHeightAt(c.x, c.z), c.height) << c.what;
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 1) << "rows stay tightly packed after loading";
  WriteBmp("heightmap.bmp", 32, 32, [](int, int) { return Rgb{0, 255, 0}; });
  LoadTerrain();
  for (float x : {0.0f, 80.0f, 2500.0f, 5100.0f}) EXPECT_EQ(TerrainHeightAt(x, -x), 0.0f) << "pure green is flat";
}

TEST_F(Terrain, DrawsThirtyOneStripsShadedByHeightWithTheTextureSpread) {
  WriteHeightmap();
  WriteSolidTexture({128, 128, 128});
  LoadTerrain();
  const float lo = -100.0f, hi = 5100.0f;
  LookStraightDown(lo, hi);
  std::vector<FedPolygon> triangles = FeedBackPolygons(DrawTerrain);
  ASSERT_EQ(triangles.size(), 31u * 122u);  // 124 vertices a strip
  const FedVertex& first = triangles.front().front();
  EXPECT_EQ(first.tex[0], 0.0f);
  EXPECT_EQ(first.tex[1], 0.0f);
  EXPECT_NEAR(WorldX(first, lo, hi), 0.0f, 0.05f);
  EXPECT_NEAR(WorldZ(first, lo, hi), 0.0f, 0.05f);
  float largestS = 0.0f, largestT = 0.0f;
  for (const FedPolygon& triangle : triangles) {
    ASSERT_EQ(triangle.size(), 3u);
    for (const FedVertex& v : triangle) {
      // The texture coordinate names the grid vertex: (a / 32, b / 32).
      int a = static_cast<int>(std::lround(v.tex[0] * 32.0f));
      int b = static_cast<int>(std::lround(v.tex[1] * 32.0f));
      ASSERT_EQ(v.tex[0], a / 32.0f);
      ASSERT_EQ(v.tex[1], b / 32.0f);
      largestS = std::max(largestS, v.tex[0]);
      largestT = std::max(largestT, v.tex[1]);
      float height = static_cast<float>(Red(a, b));
      ASSERT_NEAR(v.colour[0], height / 255.0f, 1e-6f) << a << ", " << b;
      ASSERT_EQ(v.colour[0], v.colour[1]);
      ASSERT_EQ(v.colour[0], v.colour[2]);
      ASSERT_EQ(v.colour[3], 1.0f);
      ASSERT_NEAR(WorldX(v, lo, hi), 160.0f * a, 0.05f);
      ASSERT_NEAR(WorldZ(v, lo, hi), -160.0f * b, 0.05f);
      ASSERT_NEAR(WorldY(v), height, 0.01f);
    }
  }
  EXPECT_EQ(largestS, 0.96875f);
  EXPECT_EQ(largestT, 0.96875f);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The texture modulated by the height's grey; without a texture, white shaded alike.
TEST_F(Terrain, GroundIsTheTextureShadedByHeight) {
  struct Case {
    uint8_t height;
    bool textured;
    Rgb seen;
  } cases[] = {{255, true, {200, 100, 50}}, {0, true, {0, 0, 0}}, {255, false, {255, 255, 255}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    std::remove("image1.bmp");
    if (c.textured) WriteSolidTexture({200, 100, 50});
    WriteBmp("heightmap.bmp", 32, 32, [&](int, int) { return Rgb{c.height, 0, 0}; });
    LoadTerrain();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    LookStraightDown(0.0f, 4960.0f);
    DrawTerrain();
    Rgb ground = ReadPixel(200, 200);
    for (auto [got, want] : {std::pair{ground.r, c.seen.r}, {ground.g, c.seen.g}, {ground.b, c.seen.b}}) EXPECT_NEAR(got, want, 2);
  }
}
