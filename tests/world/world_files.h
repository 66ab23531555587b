// Fixtures for the world tests: small pictures written on the spot, a drawing
// window in a folder of its own, and GL feedback read back as vertices.
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
#include <vector>

#include "data/data_files.h"
#include "image/bmp_bytes.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

struct Rgba { uint8_t r, g, b, a = 255; bool operator==(const Rgba&) const = default; };

// A 24-bit BMP (name ending ".bmp") or an uncompressed TGA of 24 or 32 bits; pixel(i, j)
// gives column i of stored row j.
inline void WritePicture(const std::string& name, int width, int height, int bits, const std::function<Rgba(int, int)>& pixel) {
  const bool bmp = name.ends_with(".bmp");
  const int rowBytes = bmp ? (width * 3 + 3) & ~3 : width * bits / 8, size = 54 + rowBytes * height;
  Bytes out = bmp ? Cat({{'B', 'M'}, Le(4, {size, 0, 54, 40, width, height}), Le(2, {1, 24}), Bytes(24, 0)})
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

// One vertex as GL_3D_COLOR_TEXTURE feedback gives it, in world units under LookStraightDown:
// x, height, z, then colour and texture.
struct FedVertex { float x, y, z, colour[4], tex[4]; };
using FedPolygon = std::vector<FedVertex>;
const float DepthRange = 300.0f;  // world units above and below the ground plane

// A view straight down on the ground: world x from lo to hi across the 400-pixel window,
// world z from -lo to -hi up it, heights from -300 to 300 in depth.
inline void LookStraightDown(float lo, float hi) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(lo, hi, lo, hi, -DepthRange, DepthRange);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(90.0f, 1.0f, 0.0f, 0.0f);  // (x, y, z) to (x, -z, y): up the window is -z
}

// Draws in feedback mode under LookStraightDown(lo, hi); every vertex that reached the
// window, polygon by polygon, with its place turned back into world units.
inline std::vector<FedPolygon> FeedBackPolygons(float lo, float hi, const std::function<void()>& draw) {
  LookStraightDown(lo, hi);
  std::vector<GLfloat> buffer(1 << 18);
  glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint used = glRenderMode(GL_RENDER);
  EXPECT_GE(used, 0) << "feedback buffer overflowed";
  std::vector<FedPolygon> polygons;
  for (GLint at = 0; at + 1 < used && buffer[at] == GL_POLYGON_TOKEN;) {
    polygons.emplace_back(size_t(buffer[at + 1]));
    at += 2;
    for (FedVertex& v : polygons.back()) {
      std::memcpy(&v, &buffer[at], sizeof v);
      at += 11;
      const float windowY = v.y;
      v.x = lo + v.x * (hi - lo) / 400.0f;
      v.y = DepthRange * (1.0f - 2.0f * v.z);
      v.z = -(lo + windowY * (hi - lo) / 400.0f);
    }
  }
  return polygons;
}

// One integer of OpenGL state.
inline GLint GetInteger(GLenum name) { GLint value = 0; return glGetIntegerv(name, &value), value; }

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
