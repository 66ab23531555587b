// Fixtures for the world tests: small pictures written on the spot, a drawing
// window in a folder of its own, and GL feedback read back as vertices.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};
struct Rgba {
  uint8_t r, g, b, a;
};

// A 24-bit BMP; pixel(i, j) gives column i of stored row j (row 0 at the bottom).
void WriteBmp(const std::string& name, int width, int height,
              const std::function<Rgb(int, int)>& pixel);
// An uncompressed TGA of 24 or 32 bits; pixel(i, j) for column i of stored row j.
void WriteTga(const std::string& name, int width, int height, int bits,
              const std::function<Rgba(int, int)>& pixel);

// One vertex as GL_3D_COLOR_TEXTURE feedback gives it: window position, colour, texture.
struct FedVertex {
  float x, y, z;
  float colour[4];
  float tex[4];
};
using FedPolygon = std::vector<FedVertex>;
// Draws in feedback mode and returns the polygons that reached the window.
std::vector<FedPolygon> FeedBackPolygons(const std::function<void()>& draw);

// A view straight down on the ground: world x from lo to hi across the window,
// world z from -lo to -hi up it, heights from -300 to 300 in depth.
void LookStraightDown(float lo, float hi);
// World coordinates of a fed-back vertex under LookStraightDown(lo, hi).
float WorldX(const FedVertex& v, float lo, float hi);
float WorldZ(const FedVertex& v, float lo, float hi);
float WorldY(const FedVertex& v);

// Colour of one pixel of the back buffer.
Rgb ReadPixel(int x, int y);

// A 400 x 400 hidden window, a fresh current folder for data files and the
// message boxes recorded.
class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string folder;
  std::string previousFolder;
};
