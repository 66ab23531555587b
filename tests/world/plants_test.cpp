// The plants: in their places, cut out by the texture's alpha, whole without one, the alpha test kept on.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <set>
#include <tuple>

#include "app/scene.h"
#include "world/plants.h"
#include "world_files.h"

// On softpipe, whose alpha test compares exactly, and on llvmpipe, which most machines
// without a GPU draw with and which rounds the reference to 8 bits.
struct Plants : WorldTest, testing::WithParamInterface<const char*> {
  void SetUp() override { renderer = GetParam(), WorldTest::SetUp(); }
};
INSTANTIATE_TEST_SUITE_P(Renderers, Plants, testing::Values("softpipe", "llvmpipe"));

// A red plant picture whose left half has alpha 25 and right half 26, drawn with the
// first plant's front quad filling the window face-on (it stands at (50, 140, -850),
// 40 high): the pixels a quarter and three quarters across it.
TEST_P(Plants, AlphaCutsOutTheQuadsAndTheTestStaysOn) {
  const Rgba sky{0, 0, 255}, red{255, 0, 0}, white{255, 255, 255};
  const struct {
    int bits;
    Rgba left, right;
  } cases[] = {{0, white, white}, {24, red, red}, {32, sky, red}};  // 0: no picture
  glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(50.0, 90.0, 140.0, 180.0, -1000.0, 1000.0);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bits);
    if (c.bits)
      WritePicture(PlantFile, 8, 2, c.bits, [](int i, int) { return Rgba{255, 0, 0, uint8_t(i < 4 ? 25 : 26)}; });
    SetUpPlants();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawPlants();  // which leaves the matrices as it found them
    EXPECT_EQ(ReadPixel(100, 200), c.left);
    EXPECT_EQ(ReadPixel(300, 200), c.right);
  }
  EXPECT_TRUE(RecordedMessageBoxes().empty()) << "the plant picture fails quietly";
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[0] + colour[1] + colour[2] + colour[3], 4.0f) << "the colour is left white";
  SetUpScene();
  DrawFrame();
  DrawFrame();
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST)) << "frames keep the alpha test on";
}

// Each plant: quad A from its base corner 40 along x, quad B across it at x + 18.5 from
// z + 20 to z - 20, both from the ground to its height.
TEST_F(WorldTest, FivePlantsStandInTheirPlaces) {
  const float places[5][4] = {{50, 140, -850, 40},
                              {1000, 250, -2400, 40},
                              {1300, 250, -2500, 60},
                              {900, 250, -2700, 60},
                              {1100, 250, -2800, 80}};  // x, y, z, height
  SetUpPlants();
  std::set<std::tuple<int, int, int>> expected, drawn;  // half units
  for (const auto& [x, y, z, h] : places)
    for (const auto& [dx, dy, dz] : {std::array<float, 3>{0, 0, 0},
                                     {40, 0, 0},
                                     {40, h, 0},
                                     {0, h, 0},
                                     {18.5f, 0, 20},
                                     {18.5f, 0, -20},
                                     {18.5f, h, -20},
                                     {18.5f, h, 20}})
      expected.insert({int(std::lround(2 * (x + dx))), int(std::lround(2 * (y + dy))), int(std::lround(2 * (z + dz)))});
  for (const FedPolygon& polygon : FeedBackPolygons(DrawPlants))
    for (const FedVertex& v : polygon)
      drawn.insert({int(std::lround(2 * v.x)), int(std::lround(2 * v.y)), int(std::lround(2 * v.z))});
  EXPECT_EQ(drawn, expected);
}
