// Rain: how the drops fall and come back, and what the streaks leave.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/frame_rate.h"
#include "effects/rain.h"
#include "feedback.h"
#include "support/gl_window.h"

namespace {
void Frame(float seconds) {
  SetFrameSpeed(seconds);
  DrawRain();
}
}  // namespace

// With no time passing every streak is drawn, 16 units long at alpha 0.5, and nothing
// moves except a drop already below 25, drawn once where it stands and then put back
// at the top; texturing is left on and blending off, whatever they were. Then drops
// fall 1400 units a second, straight down; those that pass 25 come back at exactly
// 5000 over a new x; z stays for good, and a long stall leaves every drop at the top.
TEST(Rain, DropsFallStraightAndReEnterAtTheTop) {
  ASSERT_TRUE(OpenTestWindow());
  SetUpRain();
  for (Particle& drop : RainDrops) drop.y = std::max(drop.y, 100.0f);
  RainDrops[7].y = 10.0f;
  const std::vector<Particle> start(RainDrops, RainDrops + RainDropCount);
  glEnable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  SetFrameSpeed(0.0f);
  FedPrimitives drawn = DrawnPrimitives([] { DrawRain(); });
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && !glIsEnabled(GL_BLEND));
  ASSERT_EQ(drawn.size(), static_cast<size_t>(RainDropCount));
  for (int i = 0; i < RainDropCount; ++i) {
    const FedVertex& top = drawn[i][0];
    const Particle& was = start[i];
    ASSERT_TRUE(std::fabs(top.x - was.x) < 0.05 && std::fabs(top.y - was.y) < 0.05 && std::fabs(top.z - was.z) < 0.05);
    ASSERT_TRUE(std::fabs(top.y - drawn[i][1].y - 16.0f) < 0.05 && top.r == 0.5f && top.b == 1.0f && top.a == 0.5f);
    ASSERT_TRUE(RainDrops[i].y == (i == 7 ? 5000.0f : was.y) && (i == 7 || RainDrops[i].x == was.x)) << i;
  }
  for (int frame = 0; frame < 40; ++frame) {
    const std::vector<Particle> before(RainDrops, RainDrops + RainDropCount);
    float seconds = frame % 3 == 0 ? 0.1f : 0.016f, expected;
    Frame(seconds);
    for (int i = 0; i < RainDropCount; ++i) {
      const Particle& drop = RainDrops[i];
      ASSERT_EQ(drop.z, start[i].z);
      if (std::fabs((expected = before[i].y - seconds * 1400.0f) - 25.0f) < 0.01f) continue;  // too close to call
      bool falls = expected > 25.0f;
      ASSERT_TRUE(falls ? std::fabs(drop.y - expected) < 1e-3 && drop.x == before[i].x
                        : drop.y == 5000.0f && Whole(drop.x, -2000, 7119)) << i;
    }
  }
  Frame(10.0f);
  for (const Particle& drop : RainDrops) ASSERT_EQ(drop.y, 5000.0f);
}

// The frame draws the rain with its fog on, and the streaks take the fog's colour.
TEST(Rain, StreaksAreFogged) {
  ASSERT_TRUE(OpenTestWindow());
  SetUpRain();
  for (Particle& drop : RainDrops) drop.z = 5000.0f;  // all behind the eye but one
  glDisable(GL_DEPTH_TEST);
  gluLookAt(0, 30, 0, 0, 30, -100, 0, 1, 0);
  const GLfloat fogColour[4] = {1.0f, 0.0f, 0.0f, 1.0f};
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogfv(GL_FOG_COLOR, fogColour);
  glFogf(GL_FOG_END, 50.0f);
  for (bool fog : {true, false}) {
    fog ? glEnable(GL_FOG) : glDisable(GL_FOG);
    glClear(GL_COLOR_BUFFER_BIT);
    RainDrops[0] = {0, 38, -100, true, 1, 0.5f, 0.5f, 1, 0, {0, -70, 0}, {}, 0, 0, 0};
    Frame(0.0f);
    std::vector<unsigned char> pixels(400 * 400 * 4);
    glReadPixels(0, 0, 400, 400, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int red = 0, blue = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
      red = std::max<int>(red, pixels[i]), blue = std::max<int>(blue, pixels[i + 2]);
    EXPECT_TRUE(fog ? red > 100 && blue == 0 : blue > 100 && red < 80) << red << " " << blue;
  }
}
