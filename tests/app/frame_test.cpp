// The frame-rate counter, the view's size handling and the scene's set-up state.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <tuple>

#include "app/frame_rate.h"
#include "app/program.h"
#include "app/scene.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

class FrameRateTest : public ::testing::Test {
 protected:
  void SetUp() override { UseFakeClocks(true); }
  void TearDown() override { UseFakeClocks(false); }
};

TEST_F(FrameRateTest, FirstPassTakesTheTimeSinceStartAndWritesTheTitle) {
  SetFakeTimer(2345);
  UpdateFrameRate();
  EXPECT_FLOAT_EQ(GetFrameSpeed(), 2.345f);
  EXPECT_EQ(std::string(FrameRateTitle()), "Quarnholt 1 fps");
}

TEST_F(FrameRateTest, TitleCountsPassesOverJustOverASecond) {
  SetFakeTimer(1500);
  UpdateFrameRate();  // writes the title, count back to 0
  for (int i = 0; i < 60; ++i) {
    AdvanceFakeClocks(16);
    UpdateFrameRate();
  }
  EXPECT_EQ(std::string(FrameRateTitle()), "Quarnholt 1 fps") << "960 ms: not yet";
  AdvanceFakeClocks(60);  // 61 passes over 1.02 seconds show 61, not a rate
  UpdateFrameRate();
  EXPECT_EQ(std::string(FrameRateTitle()), "Quarnholt 61 fps");
}

TEST_F(FrameRateTest, FrameTimeIsWholeMillisecondsHoweverLongThePauseOrTheRun) {
  SetFakeTimer(100);
  UpdateFrameRate();
  AdvanceFakeClocks(7250);  // a modal box held open
  UpdateFrameRate();
  EXPECT_FLOAT_EQ(GetFrameSpeed(), 7.25f);
  SetFakeTimer(3000000000u);  // about 35 days
  UpdateFrameRate();
  AdvanceFakeClocks(16);
  UpdateFrameRate();
  EXPECT_FLOAT_EQ(GetFrameSpeed(), 0.016f);
}

namespace {
void ReadProjection(float m[16]) { glGetFloatv(GL_PROJECTION_MATRIX, m); }
}  // namespace

TEST(ViewSize, ZeroHeightGivesAViewportOfOneAndAFiniteProjection) {
  ASSERT_TRUE(OpenTestWindow());
  ResizeView(400, 0);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 400);
  EXPECT_EQ(viewport[3], 1);
  float m[16];
  ReadProjection(m);
  for (float v : m) EXPECT_TRUE(std::isfinite(v));
  GLint mode;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  CloseTestWindow();
}

TEST(ViewSize, FullScreenAspectIsFourToThree) {
  ASSERT_TRUE(OpenTestWindow());
  ResizeView(1024, 768);
  float m[16];
  ReadProjection(m);
  // gluPerspective: m[0] = f / aspect, m[5] = f.
  EXPECT_NEAR(m[5] / m[0], 1024.0f / 768.0f, 1e-5);
  EXPECT_NEAR(m[5], 1.0 / std::tan(22.5 * M_PI / 180.0), 1e-5);
  CloseTestWindow();
}

TEST(SceneSetUp, StartsWithFogOnTheGreySkyAndEverySwitchOff) {
  ASSERT_TRUE(OpenTestWindow());
  Switches = {0, 1, 1, 1};
  StartRecordingMessageBoxes();  // no data files here: the loaders\' boxes are kept, not shown
  SetUpScene();
  EXPECT_EQ(Switches.fogOn, 1);
  EXPECT_EQ(Switches.rainOn, 0);
  EXPECT_EQ(Switches.fireworksOn, 0);
  EXPECT_EQ(Switches.windEffectOn, 0);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_FOG));
  float clear[4], end, start;
  GLint mode;
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glGetFloatv(GL_FOG_END, &end);
  glGetFloatv(GL_FOG_START, &start);
  glGetIntegerv(GL_FOG_MODE, &mode);
  EXPECT_FLOAT_EQ(clear[0], 0.25f);
  EXPECT_FLOAT_EQ(clear[2], 0.25f);
  EXPECT_FLOAT_EQ(end, 500.0f);
  EXPECT_FLOAT_EQ(start, 0.0f);
  EXPECT_EQ(mode, GL_LINEAR);
  CloseTestWindow();
}

TEST(SceneFrame, DrawFrameLeavesTheMatrixStacksBalanced) {
  ASSERT_TRUE(OpenTestWindow());
  StartRecordingMessageBoxes();  // no data files here: the loaders\' boxes are kept, not shown
  SetUpScene();
  SetRainOn(1);
  SetFireworksOn(1);
  SetWindEffectOn(1);
  for (int i = 0; i < 3; ++i) DrawFrame();
  GLint depth;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
  glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  CloseTestWindow();
}

// The main window's pixel format, asked through EGL, which counts alpha bits in the buffer
// size: 32-bit colour is 8 bits each of red, green and blue and no alpha.
TEST(PixelFormat, ThirtyTwoBitColourWithoutAlphaSixteenBitDepthTwoBuffers) {
  setenv("SDL_VIDEO_X11_FORCE_EGL", "1", 1);
  ASSERT_TRUE(StartWindowSystem() && CreateMainWindow(false, "OpenGl Window") == WindowCreation::Created);
  ASSERT_TRUE(CreateRenderingContext());
  auto bits = [](GLenum name) { GLint value = -1; return glGetIntegerv(name, &value), value; };
  EXPECT_EQ(std::tuple(bits(GL_RED_BITS), bits(GL_GREEN_BITS), bits(GL_BLUE_BITS), bits(GL_ALPHA_BITS)), std::tuple(8, 8, 8, 0));
  EXPECT_TRUE(bits(GL_DEPTH_BITS) >= 16 && bits(GL_DOUBLEBUFFER) == 1);
  unsetenv("SDL_VIDEO_X11_FORCE_EGL");
  CloseTestWindow();
}
