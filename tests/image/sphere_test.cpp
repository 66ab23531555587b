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
  std::vector<GLubyte> red(size_t{400} * 400);
  glReadPixels(0, 0, 400, 400, GL_RED, GL_UNSIGNED_BYTE, red.data());
  return int(std::count(red.begin(), red.end(), 255));
}

// Drawn at once on first use, replayed alike after; a radius a hair larger gets a list of its own.
TEST(Sphere, OneListPerExactRadiusBuiltOnFirstUseThenReplayed) {
  ASSERT_TRUE(OpenTestWindow());
  const double half = 0.5, nearlyHalf = 0.5000001;
  const int firstDraw = PixelsCoveredBy(half);
  EXPECT_GT(firstDraw, 100);
  EXPECT_EQ(PixelsCoveredBy(half), firstDraw);
  SolidSphere(nearlyHalf);
  const GLuint list = LookUpShapeList(SolidSphereKind, &half, 1),
               second = LookUpShapeList(SolidSphereKind, &nearlyHalf, 1);
  EXPECT_TRUE(ShapeListCount(SolidSphereKind) == 2 && glIsList(list) && glIsList(second) && second != list);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  CloseTestWindow();
}

}  // namespace
