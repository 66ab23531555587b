// The effects' arrays leave OpenGL as drawing one vertex at a time did, and a held
// frame draws the same picture again without moving anything.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "app/frame_rate.h"
#include "app/scene.h"
#include "effects/fireworks.h"
#include "effects/held_frame.h"
#include "effects/rain.h"
#include "effects/view_angles.h"
#include "effects/whirlwind.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {
// The bytes of a global, to say afterwards whether anything in it changed.
template <typename T>
std::vector<unsigned char> BytesOf(const T& value) {
  std::vector<unsigned char> bytes(sizeof(T));
  std::memcpy(bytes.data(), &value, sizeof(T));
  return bytes;
}

struct CurrentAttributes {
  float colour[4];
  float texture[4];
};

CurrentAttributes ReadCurrent() {
  CurrentAttributes current;
  glGetFloatv(GL_CURRENT_COLOR, current.colour);
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, current.texture);
  return current;
}

// Client arrays off, their pointers and sizes back at OpenGL's starting values.
void ExpectArraysAsAtStart() {
  const GLenum arrays[] = {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_TEXTURE_COORD_ARRAY};
  const GLenum pointers[] = {GL_VERTEX_ARRAY_POINTER, GL_COLOR_ARRAY_POINTER, GL_TEXTURE_COORD_ARRAY_POINTER};
  const GLenum sizes[] = {GL_VERTEX_ARRAY_SIZE, GL_COLOR_ARRAY_SIZE, GL_TEXTURE_COORD_ARRAY_SIZE};
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(glIsEnabled(arrays[i]));
    void* pointer = &pointer;
    glGetPointerv(pointers[i], &pointer);
    EXPECT_EQ(pointer, nullptr);
    GLint size = 0;
    glGetIntegerv(sizes[i], &size);
    EXPECT_EQ(size, 4);
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

class EffectArraysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(BinDir() + "/boom.tga")) GTEST_SKIP() << "no generated data files";
    previous = ChangeDir(BinDir());
    ASSERT_TRUE(OpenTestWindow(64, 64));
    StartRecordingMessageBoxes();
    UseFakeClocks(true);
    SetFrameSpeed(1.0f / 60.0f);
    FixEffectsViewAngles(true, 30.0f, 10.0f);
    glTranslatef(0.0f, -300.0f, -1500.0f);
  }
  void TearDown() override {
    HoldEffectsFrame(false);
    CloseTestWindow();
    if (!previous.empty()) ChangeDir(previous);
  }
  std::string previous;
};
}  // namespace

TEST_F(EffectArraysTest, EachEffectLeavesTheLastVertexCurrentAndTheArraysOff) {
  SetUpRain();
  SetUpFireworks();
  SetUpWindEffect();
  DrawRain();
  CurrentAttributes afterRain = ReadCurrent();
  EXPECT_EQ(std::vector<float>(afterRain.colour, afterRain.colour + 4), (std::vector<float>{0.5f, 0.5f, 1.0f, 0.5f}));
  ExpectArraysAsAtStart();

  const Particle& last = Fireworks[0].particles[FireworkParticleCount - 1];
  float lifeBeforeItsMove = last.life;
  DrawFireworkParticles(Fireworks[0].particles);
  CurrentAttributes afterBurst = ReadCurrent();
  EXPECT_EQ(std::vector<float>(afterBurst.colour, afterBurst.colour + 4),
            (std::vector<float>{last.r, last.g, last.b, lifeBeforeItsMove}));
  EXPECT_EQ(afterBurst.texture[0], 0.0f);
  EXPECT_EQ(afterBurst.texture[1], 1.0f);
  ExpectArraysAsAtStart();

  glTexCoord2f(0.5f, 0.5f);
  DrawWindEffect();
  CurrentAttributes afterWind = ReadCurrent();
  EXPECT_EQ(std::vector<float>(afterWind.colour, afterWind.colour + 4), (std::vector<float>{1.0f, 1.0f, 1.0f, 1.0f}));
  EXPECT_EQ(afterWind.texture[0], 0.0f);
  EXPECT_EQ(afterWind.texture[1], 1.0f);
  ExpectArraysAsAtStart();
}

TEST_F(EffectArraysTest, HeldFrameRedrawsThePictureAndMovesNothing) {
  SetUpRain();
  SetUpFireworks();
  SetUpWindEffect();
  auto drawEffects = [] {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawRain();
    DrawFireworkParticles(Fireworks[0].particles);
    DrawWindEffect();
    std::vector<unsigned char> pixels(64 * 64 * 4);
    glReadPixels(0, 0, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  };
  std::vector<unsigned char> moving = drawEffects();
  std::vector<unsigned char> drops = BytesOf(RainDrops), burst = BytesOf(Fireworks[0].particles),
                             points = BytesOf(WhirlwindPoints);
  float axis = windX;

  HoldEffectsFrame(true);
  EXPECT_EQ(drawEffects(), moving);
  EXPECT_EQ(drawEffects(), moving);
  EXPECT_TRUE(BytesOf(RainDrops) == drops);
  EXPECT_TRUE(BytesOf(Fireworks[0].particles) == burst);
  EXPECT_TRUE(BytesOf(WhirlwindPoints) == points);
  EXPECT_EQ(windX, axis);

  HoldEffectsFrame(false);
  drawEffects();
  EXPECT_NE(windX, axis);
  EXPECT_FALSE(BytesOf(RainDrops) == drops);
}
