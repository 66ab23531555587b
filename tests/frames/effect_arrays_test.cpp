// The effects' arrays leave OpenGL as drawing one vertex at a time did.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/frame_time.h"
#include "data/data_files.h"
#include "effects/fireworks.h"
#include "effects/rain.h"
#include "effects/view_angles.h"
#include "effects/whirlwind.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

// Each effect leaves its last vertex's colour and texture coordinates current, and the
// client arrays off with their pointers and sizes back at OpenGL's starting values.
TEST(EffectArrays, StateLeftAsOneVertexAtATimeDrawingLeftIt) {
  if (!std::filesystem::exists(BinDir() + "/" + SpriteFile)) GTEST_SKIP() << "no generated data files";
  ChangeDir(BinDir());
  ASSERT_TRUE(OpenTestWindow(64, 64));
  StartRecordingMessageBoxes();
  UseFakeClocks(true);
  SetFrameSpeed(1.0f / 60.0f);
  FixEffectsViewAngles(true, 30.0f, 10.0f);
  glTranslatef(0.0f, -300.0f, -1500.0f);
  SetUpRain();
  SetUpFireworks();
  SetUpWindEffect();
  const Particle& last = Fireworks[0].particles[FireworkParticleCount - 1];
  struct Case {
    std::function<void()> draw;
    std::vector<float> current;  // colour, then s and t (none for the streaks)
  } cases[] = {{DrawRain, {0.5f, 0.5f, 1.0f, 0.5f}},
               {[] { DrawFireworkParticles(Fireworks[0].particles); }, {last.r, last.g, last.b, last.life, 0.0f, 1.0f}},
               {[] { glTexCoord2f(0.5f, 0.5f); DrawWindEffect(); }, {1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 1.0f}}};
  for (const Case& c : cases) {
    c.draw();
    float current[6];
    glGetFloatv(GL_CURRENT_COLOR, current);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, current + 4);
    EXPECT_EQ(std::vector<float>(current, current + c.current.size()), c.current);
    for (GLenum array : {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_TEXTURE_COORD_ARRAY}) EXPECT_FALSE(glIsEnabled(array));
    const GLenum pointers[] = {GL_VERTEX_ARRAY_POINTER, GL_COLOR_ARRAY_POINTER, GL_TEXTURE_COORD_ARRAY_POINTER};
    const GLenum sizes[] = {GL_VERTEX_ARRAY_SIZE, GL_COLOR_ARRAY_SIZE, GL_TEXTURE_COORD_ARRAY_SIZE};
    for (int k = 0; k < 3; ++k) {
      void* pointer = &pointer;
      GLint size = 0;
      glGetPointerv(pointers[k], &pointer);
      glGetIntegerv(sizes[k], &size);
      EXPECT_TRUE(pointer == nullptr && size == 4) << k;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}
