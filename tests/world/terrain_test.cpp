// The terrain: the height query over a known heightmap and what is drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "world/terrain.h"
#include "world_files.h"

namespace {
// Red of heightmap pixel (i, j); green and blue are noise the terrain must ignore.
int Red(int i, int j) { return (i * 37 + j * 11 + 5) % 256; }
}  // namespace

using Terrain = WorldTest;

// Between and beyond the grid points the drawing checks below, the query blends and clamps.
TEST_F(Terrain, HeightQueryAndDrawingFollowTheHeightmap) {
  WritePicture(HeightmapFile, 32, 32, 24, [](int i, int j) {
    return Rgba{uint8_t(Red(i, j)), uint8_t(255 - Red(i, j)), 77};
  });
  WritePicture(TerrainTextureFile, 256, 256, 24, [](int, int) { return Rgba{200, 100, 50}; });
  for (int load = 0; load < 2; ++load) LoadTerrain();  // the second lets go of the first's pictures
  ASSERT_TRUE(RecordedMessageBoxes().empty());
  const struct {
    const char* what;
    float x, z, height;
  } cases[] = {
      {"middle of the first cell: mean of 5, 42, 16, 53", 80.0f, -80.0f, 29.0f},
      {"a quarter along x", 40.0f, 0.0f, 0.75f * 5.0f + 0.25f * 42.0f},
      {"between column 31 and column 0", 5040.0f, 0.0f, 0.5f * Red(31, 0) + 0.5f * Red(0, 0)},
      {"between row 31 and row 0", 0.0f, -5040.0f, 0.5f * Red(0, 31) + 0.5f * Red(0, 0)},
      {"west of the island: on its west edge", -300.0f, 0.0f, 5.0f},
      {"far east: on the east edge", 9000.0f, -80.0f, 0.5f * Red(31, 0) + 0.5f * Red(31, 1)},
      {"far north-east: the last corner", 5120.0f, -5120.0f, float(Red(31, 31))},
      {"not a number: the first corner", NAN, NAN, 5.0f},
  };
  for (const auto& c : cases) EXPECT_EQ(TerrainHeightAt(c.x, c.z), c.height) << c.what;
  EXPECT_EQ(GetInteger(GL_UNPACK_ALIGNMENT), 1) << "rows stay tightly packed after loading";
  // 31 strips, each sending the four corners of its 31 cells in turn: (i, j), (i + 1, j),
  // (i, j + 1), (i + 1, j + 1). Every triangle of every strip comes back, in order; each
  // vertex at grid point (a, b) has texture (a / 32, b / 32), the grey of its height and
  // that height, which the query gives too.
  const std::vector<FedPolygon> triangles = FeedBackPolygons(DrawTerrain);
  ASSERT_EQ(triangles.size(), 31u * 122u);
  for (size_t k = 0; k < triangles.size(); ++k) {
    std::set<std::pair<int, int>> expected, got;
    for (int n = int(k % 122); n < int(k % 122) + 3; ++n) expected.insert({n / 4 + n % 2, int(k / 122) + n % 4 / 2});
    for (const FedVertex& v : triangles[k]) {
      const int a = int(std::lround(v.x / 160.0f)), b = int(std::lround(-v.z / 160.0f));
      const float height = float(Red(a, b));
      got.insert({a, b});
      ASSERT_TRUE(v.s == a / 32.0f && v.t == b / 32.0f && std::fabs(v.y - height) < 0.01f) << a << ", " << b;
      ASSERT_TRUE(std::fabs(v.r - height / 255.0f) < 1e-6f && v.r == v.g && v.r == v.b && v.a == 1.0f)
          << a << ", " << b;
      ASSERT_EQ(TerrainHeightAt(160.0f * a, -160.0f * b), height);
    }
    ASSERT_EQ(got, expected) << "triangle " << k;
  }
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
