// The frame-rate counter, a window of no height, and frames that leave OpenGL's stacks as found.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/frame_rate.h"
#include "app/program.h"
#include "app/scene.h"
#include "common/frame_time.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

// The first pass takes the whole time since start; the title counts passes (not a rate)
// once more than a second has gone; the frame time stays whole milliseconds after 35 days.
TEST(FrameRate, TitleCountsPassesAndFrameTimeIsWholeMilliseconds) {
  UseFakeClocks(true);
  SetFakeTimer(1500);
  UpdateFrameRate();
  EXPECT_FLOAT_EQ(GetFrameSpeed(), 1.5f);
  EXPECT_STREQ(FrameRateTitle(), "Quarnholt 1 fps");
  for (int i = 0; i < 40; ++i) {
    AdvanceFakeClocks(25);
    UpdateFrameRate();
  }
  EXPECT_STREQ(FrameRateTitle(), "Quarnholt 1 fps");  // not yet after exactly a second
  AdvanceFakeClocks(1);
  UpdateFrameRate();
  EXPECT_STREQ(FrameRateTitle(), "Quarnholt 41 fps");
  SetFakeTimer(3000000000u);
  UpdateFrameRate();
  AdvanceFakeClocks(16);
  UpdateFrameRate();
  EXPECT_FLOAT_EQ(GetFrameSpeed(), 0.016f);
  UseFakeClocks(false);
}

// A window of no height gets a viewport of one, and each resize starts the projection
// afresh. With every effect on, frames push as much as they pop and raise no OpenGL error.
TEST(SceneFrame, ResizesStartTheProjectionAfreshAndFramesLeaveTheStacksBalanced) {
  ASSERT_TRUE(OpenTestWindow());  // which sizes the view once, 400 x 400
  GLint viewport[4];
  float first[16], m[16];
  glGetFloatv(GL_PROJECTION_MATRIX, first);
  ResizeView(400, 0);
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  EXPECT_TRUE(viewport[3] == 1 && GetInteger(GL_MATRIX_MODE) == GL_MODELVIEW);
  EXPECT_TRUE(std::all_of(m, m + 16, [](float v) { return std::isfinite(v); }));
  ResizeView(400, 400);
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  EXPECT_TRUE(std::equal(m, m + 16, first));
  StartRecordingMessageBoxes();  // no data files here: the loaders' boxes are kept, not shown
  SetUpScene();
  Switches = {1, 1, 1, 1};
  for (int i = 0; i < 3; ++i) DrawFrame();
  EXPECT_EQ(GetInteger(GL_MODELVIEW_STACK_DEPTH) + GetInteger(GL_TEXTURE_STACK_DEPTH), 2);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  CloseTestWindow();
}
