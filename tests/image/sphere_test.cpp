// The cached sphere: one display list per exact radius, built while drawing, replayed after.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "image/sphere.h"
#include "support/gl_window.h"

namespace {

// Pixels the sphere covers, drawn white on black 5 units in front of the eye. (Replaying a
// list in feedback mode crashes this Mesa, so the drawing is measured in the frame buffer.)
int PixelsCoveredBy(double radius) {
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glColor3f(1, 1, 1);
  glLoadIdentity();
  glTranslatef(0, 0, -5);
  SolidSphere(radius);
  glFinish();
  std::vector<GLubyte> pixels(400 * 400 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, 400, 400, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  int covered = 0;
  for (size_t i = 0; i < pixels.size(); i += 3) covered += pixels[i] == 255;
  return covered;
}

class SphereTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(OpenTestWindow()); }
  void TearDown() override { CloseTestWindow(); }
};

TEST_F(SphereTest, FirstCallBuildsOneListAndDrawsLaterCallsReplayIt) {
  const double half = 0.5;
  const int firstDraw = PixelsCoveredBy(0.5);
  EXPECT_GT(firstDraw, 100) << "compiled and drawn at once";
  EXPECT_EQ(ShapeListCount(SolidSphereKind), 1);
  const GLuint list = LookUpShapeList(SolidSphereKind, &half, 1);
  ASSERT_NE(list, 0u);
  EXPECT_TRUE(glIsList(list));

  EXPECT_EQ(PixelsCoveredBy(0.5), firstDraw);
  EXPECT_EQ(ShapeListCount(SolidSphereKind), 1);
  EXPECT_FALSE(glIsList(list + 1)) << "no second list was made";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  GLint mode = 0;
  glGetIntegerv(GL_LIST_MODE, &mode);
  EXPECT_EQ(mode, 0) << "no list left open";
}

TEST_F(SphereTest, RadiiThatDifferInTheLastBitAreDifferentKeysNewestFirst) {
  const double half = 0.5, nearlyHalf = 0.5000001;
  SolidSphere(half);
  SolidSphere(nearlyHalf);
  SolidSphere(half);
  EXPECT_EQ(ShapeListCount(SolidSphereKind), 2);
  const GLuint first = LookUpShapeList(SolidSphereKind, &half, 1);
  const GLuint second = LookUpShapeList(SolidSphereKind, &nearlyHalf, 1);
  EXPECT_NE(first, 0u);
  EXPECT_NE(second, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(LookUpShapeList(SolidSphereKind, nullptr, 0), second) << "a count below 1 finds the newest";
  EXPECT_EQ(LookUpShapeList(SolidSphereKind - 1, &half, 1), 0u) << "kinds are apart";

  auto* again = static_cast<double*>(std::malloc(sizeof(double)));
  *again = half;
  const GLuint newest = InsertShapeList(SolidSphereKind, again, 1);
  EXPECT_EQ(LookUpShapeList(SolidSphereKind, &half, 1), newest);
}

}  // namespace
