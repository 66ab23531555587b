// The cached sphere: one display list per exact radius, built while drawing, replayed after.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "image/sphere.h"
#include "support/gl_window.h"

namespace {

// Pixels the sphere covers, drawn white on black 5 units in front of the eye. (Replaying a
// list in feedback mode crashes this Mesa, so the drawing is measured in the frame buffer.)
int PixelsCoveredBy(double radius) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0, 0, -5);
  SolidSphere(radius);
  std::vector<GLubyte> red(400 * 400);
  glReadPixels(0, 0, 400, 400, GL_RED, GL_UNSIGNED_BYTE, red.data());
  return int(std::count(red.begin(), red.end(), 255));
}

TEST(Sphere, OneListPerExactRadiusBuiltOnFirstUseThenReplayedNewestFirst) {
  ASSERT_TRUE(OpenTestWindow());
  const double half = 0.5, nearlyHalf = 0.5000001;
  const int firstDraw = PixelsCoveredBy(half);  // compiled and drawn at once
  EXPECT_GT(firstDraw, 100);
  const GLuint list = LookUpShapeList(SolidSphereKind, &half, 1);
  EXPECT_EQ(PixelsCoveredBy(half), firstDraw);  // replayed
  EXPECT_TRUE(ShapeListCount(SolidSphereKind) == 1 && glIsList(list) && !glIsList(list + 1));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  SolidSphere(nearlyHalf);
  const GLuint second = LookUpShapeList(SolidSphereKind, &nearlyHalf, 1);
  EXPECT_TRUE(ShapeListCount(SolidSphereKind) == 2 && second != 0 && second != list);
  EXPECT_EQ(LookUpShapeList(SolidSphereKind, &half, 1), list);
  EXPECT_EQ(LookUpShapeList(SolidSphereKind, nullptr, 0), second);  // a count below 1 finds the newest
  EXPECT_EQ(LookUpShapeList(SolidSphereKind - 1, &half, 1), 0u);
  CloseTestWindow();
}

}  // namespace
