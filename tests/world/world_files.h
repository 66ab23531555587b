// Fixtures for the world tests: small pictures written on the spot, a drawing
// window in a folder of its own, and GL feedback read back in world units.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "data/data_files.h"
#include "support/bytes.h"
#include "platform/message_box.h"
#include "support/feedback.h"
#include "support/gl_window.h"

struct Rgba {
  uint8_t r, g, b, a = 255;
  bool operator==(const Rgba&) const = default;
};

// A 24-bit BMP (name ending ".bmp") or an uncompressed TGA of 24 or 32 bits; pixel(i, j)
// gives column i of stored row j.
inline void WritePicture(const std::string& name, int width, int height, int bits,
                         const std::function<Rgba(int, int)>& pixel) {
  const bool bmp = name.ends_with(".bmp");
  const int rowBytes = bmp ? (width * 3 + 3) & ~3 : width * bits / 8, size = 54 + rowBytes * height;
  Bytes out =
      bmp ? Cat({{'B', 'M'}, Le(4, {size, 0, 54, 40, width, height}), Le(2, {1, 24}), Bytes(24, 0)})
          : Cat({{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}, Le(2, {width, height}), Le(1, {bits, bits == 32 ? 8 : 0})});
  for (int j = 0; j < height; ++j) {
    const size_t rowStart = out.size();
    for (int i = 0; i < width; ++i) {
      const Rgba p = pixel(i, j);
      out.insert(out.end(), {p.b, p.g, p.r});
      if (bits == 32) out.push_back(p.a);
    }
    out.resize(rowStart + rowBytes, 0);
  }
  WriteFile(name, out);
}

// A view straight down on the ground: world x from lo to hi across the 400-pixel window,
// world z from -lo to -hi up it, heights from -300 to 300 in depth.
inline void LookStraightDown(float lo, float hi) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(lo, hi, lo, hi, -300.0f, 300.0f);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(90.0f, 1.0f, 0.0f, 0.0f);  // (x, y, z) to (x, -z, y): up the window is -z
}

// Draws in feedback mode looking straight down, deep enough for any height; every polygon,
// its vertices in world units: x, height, z.
inline FedPrimitives FeedBackPolygons(const std::function<void()>& draw) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(90.0f, 1.0f, 0.0f, 0.0f);  // eye (x, y, z) is world (x, -z, height)
  FedPrimitives polygons = DrawnPrimitives(draw, 12000.0f);
  for (FedPolygon& polygon : polygons)
    for (FedVertex& v : polygon) std::tie(v.y, v.z) = std::pair(v.z, -v.y);
  return polygons;
}

// Colour of one pixel of the back buffer.
inline Rgba ReadPixel(int x, int y) {
  Rgba p;
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &p);
  return {p.r, p.g, p.b};
}

// A fresh current folder for data files, the message boxes recorded and a 400 x 400 hidden window,
// drawn by Mesa's softpipe unless the test names another of its software renderers: softpipe
// compares as OpenGL describes, like the GPUs do, where llvmpipe rounds to 8 bits first.
class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousFolder = ChangeDir(folder = MakeTempDir());
    StartRecordingMessageBoxes();
    setenv("GALLIUM_DRIVER", renderer, 1);
    ASSERT_TRUE(OpenTestWindow(400, 400));
  }
  void TearDown() override {
    StopRecordingMessageBoxes();
    ChangeDir(previousFolder);
    std::filesystem::remove_all(folder);
    CloseTestWindow();
  }
  std::string folder, previousFolder;
  const char* renderer = "softpipe";
};
