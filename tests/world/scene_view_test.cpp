// The whole scene from the starting place, drawn from the generated data files.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/scene.h"
#include "common/frame_time.h"
#include "data/data_files.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

const int Width = 640, Height = 480;  // pixels

TEST(SceneView, StartingPlaceShowsGroundWaterAndSky) {
  if (!std::filesystem::exists(BinDir() + "/" + HeightmapFile)) GTEST_SKIP() << "no generated data files";
  ChangeDir(BinDir());
  UseFakeClocks(true);
  ASSERT_TRUE(OpenTestWindow(Width, Height));
  StartRecordingMessageBoxes();
  SetUpScene();
  GiveCameraStartingValues();  // no input devices: the camera stays where it starts
  SetFrameSpeed(0.0f);
  // Standing still while the weather clears: the fog recedes once a second until it lifts.
  for (int second = 0; second < 30; ++second) {
    AdvanceFakeClocks(1001);
    DrawFrame();
  }
  EXPECT_EQ(Switches.fogOn, 0);
  for (const RecordedMessageBox& box : RecordedMessageBoxes()) ADD_FAILURE() << box.text;
  std::vector<uint8_t> picture(3 * Width * Height);  // rows bottom first
  glReadPixels(0, 0, Width, Height, GL_RGB, GL_UNSIGNED_BYTE, picture.data());
  EXPECT_NEAR(ViewCamera.eyeX, 100.0f, 1e-3f);
  EXPECT_NEAR(ViewCamera.eyeZ, -100.0f, 1e-3f);
  // Sky: the clear colour at the top; water: bluish, additive; ground: green-brown.
  const uint8_t* sky = &picture[3 * ((Height - 6) * Width + Width / 2)];  // 5 rows from the top
  EXPECT_EQ(std::pair(sky[0], sky[2]), std::pair(uint8_t{64}, uint8_t{128}));
  int water = 0, ground = 0;
  for (size_t i = 0; i < picture.size() / 2; i += 3) {  // the lower half of the window
    const uint8_t* p = &picture[i];
    if (p[2] > p[0] + 20 && p[2] > p[1] + 20 && (p[0] != 64 || p[2] != 128)) ++water;
    if (p[1] >= p[2] && p[0] + p[1] > 60) ++ground;
  }
  EXPECT_GT(water, Width * 4) << "water pixels in the lower half";
  EXPECT_GT(ground, Width * 4) << "ground pixels in the lower half";
}
