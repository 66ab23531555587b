// The plants: cut out by the texture's alpha, whole without one, the alpha test kept on.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/scene.h"
#include "platform/message_box.h"
#include "world/plants.h"
#include "world_files.h"

namespace {
// A red plant picture whose left half has alpha 25 and right half the given alpha.
void WritePlant(int bits, uint8_t rightAlpha) {
  WriteTga("plant4.tga", 8, 2, bits, [=](int i, int) {
    return Rgba{255, 0, 0, static_cast<uint8_t>(i < 4 ? 25 : rightAlpha)};
  });
}

// Draws the plants with the first plant's front quad filling the window, seen
// face-on; returns the pixels a quarter and three quarters across it.
std::pair<Rgb, Rgb> FirstPlantHalves() {
  glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glViewport(0, 0, 400, 400);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(50.0, 90.0, 140.0, 180.0, -1000.0, 1000.0);  // plant 1 stands at (50, 140, -850), 40 high
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  DrawPlants();
  return {ReadPixel(100, 200), ReadPixel(300, 200)};
}

bool IsRed(Rgb p) { return p.r == 255 && p.g == 0 && p.b == 0; }
bool IsSky(Rgb p) { return p.r == 0 && p.g == 0 && p.b == 255; }
}  // namespace

using Plants = WorldTest;

// Mesa's llvmpipe rounds the alpha reference to 8 bits (0.1 becomes 26 / 255) and
// so discards alpha 26; its softpipe compares as OpenGL describes, like the GPUs do.
// The variable only chooses among Mesa's software renderers.
class PlantsOnExactRenderer : public WorldTest {
 protected:
  void SetUp() override {
    setenv("GALLIUM_DRIVER", "softpipe", 1);
    WorldTest::SetUp();
  }
};

TEST_F(PlantsOnExactRenderer, AlphaOfTwentyFiveLeavesAHoleAndTwentySixIsOpaque) {
  WritePlant(32, 26);
  SetUpPlants();
  auto [left, right] = FirstPlantHalves();
  SCOPED_TRACE(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  EXPECT_TRUE(IsSky(left)) << int(left.r) << " " << int(left.g) << " " << int(left.b);
  EXPECT_TRUE(IsRed(right)) << int(right.r) << " " << int(right.g) << " " << int(right.b);
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[0] + colour[1] + colour[2] + colour[3], 4.0f) << "the colour is left white";
}

TEST_F(Plants, PictureWithoutAlphaDrawsTheWholeQuads) {
  WritePlant(24, 0);
  SetUpPlants();
  auto [left, right] = FirstPlantHalves();
  EXPECT_TRUE(IsRed(left));
  EXPECT_TRUE(IsRed(right));
}

TEST_F(Plants, MissingPictureDrawsWhitePlants) {
  SetUpPlants();
  auto [left, right] = FirstPlantHalves();
  EXPECT_EQ(left.r + left.g + left.b, 3 * 255);
  EXPECT_EQ(right.r + right.g + right.b, 3 * 255);
  EXPECT_TRUE(RecordedMessageBoxes().empty()) << "the plant picture fails quietly";
}

TEST_F(Plants, AlphaTestStaysOnThroughAFrame) {
  WritePlant(32, 26);
  SetUpScene();
  DrawFrame();
  DrawFrame();
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  GLint function = 0;
  GLfloat reference = 0.0f;
  glGetIntegerv(GL_ALPHA_TEST_FUNC, &function);
  glGetFloatv(GL_ALPHA_TEST_REF, &reference);
  EXPECT_EQ(function, GL_GREATER);
  EXPECT_FLOAT_EQ(reference, 0.1f);
}
