// Fixture files, feedback read-back and the drawing window for the world tests.
#include "world_files.h"

#include <GL/gl.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {
// Appends the low bytes of each value, least significant first.
void Put(std::vector<uint8_t>& out, int bytes, std::initializer_list<uint32_t> values) {
  for (uint32_t v : values)
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream file(name, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
const float DepthRange = 300.0f;  // world units above and below the ground plane
}  // namespace

void WriteBmp(const std::string& name, int width, int height,
              const std::function<Rgb(int, int)>& pixel) {
  uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
  std::vector<uint8_t> out = {'B', 'M'};
  Put(out, 4, {54 + pixelBytes, 0, 54, 40, static_cast<uint32_t>(width), static_cast<uint32_t>(height)});
  Put(out, 2, {1, 24});
  Put(out, 4, {0, 0, 0, 0, 0, 0});
  for (int j = 0; j < height; ++j) {
    size_t rowStart = out.size();
    for (int i = 0; i < width; ++i) {
      Rgb p = pixel(i, j);
      out.insert(out.end(), {p.b, p.g, p.r});
    }
    out.resize(rowStart + rowBytes, 0);
  }
  WriteFile(name, out);
}

void WriteTga(const std::string& name, int width, int height, int bits,
              const std::function<Rgba(int, int)>& pixel) {
  std::vector<uint8_t> out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Put(out, 2, {static_cast<uint32_t>(width), static_cast<uint32_t>(height)});
  out.push_back(static_cast<uint8_t>(bits));
  out.push_back(bits == 32 ? 8 : 0);
  for (int j = 0; j < height; ++j) {
    for (int i = 0; i < width; ++i) {
      Rgba p = pixel(i, j);
      out.insert(out.end(), {p.b, p.g, p.r});
      if (bits == 32) out.push_back(p.a);
    }
  }
  WriteFile(name, out);
}

std::vector<FedPolygon> FeedBackPolygons(const std::function<void()>& draw) {
  std::vector<GLfloat> buffer(1 << 18);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  GLint used = glRenderMode(GL_RENDER);
  EXPECT_GE(used, 0) << "feedback buffer overflowed";
  std::vector<FedPolygon> polygons;
  auto readVertex = [&](GLint& at) {
    FedVertex v;
    static_assert(sizeof(FedVertex) == 11 * sizeof(float));  // as the feedback lays them out
    std::memcpy(&v, &buffer[at], sizeof v);
    at += 11;
    return v;
  };
  for (GLint at = 0; at < used;) {
    GLint token = static_cast<GLint>(buffer[at++]);
    if (token != GL_POLYGON_TOKEN) {
      ADD_FAILURE() << "unexpected feedback token " << token;
      break;
    }
    GLint count = static_cast<GLint>(buffer[at++]);
    FedPolygon polygon;
    for (GLint k = 0; k < count; ++k) polygon.push_back(readVertex(at));
    polygons.push_back(polygon);
  }
  return polygons;
}

void LookStraightDown(float lo, float hi) {
  glViewport(0, 0, 400, 400);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(lo, hi, lo, hi, -DepthRange, DepthRange);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(90.0f, 1.0f, 0.0f, 0.0f);  // (x, y, z) to (x, -z, y): up the window is -z
}

float WorldX(const FedVertex& v, float lo, float hi) { return lo + v.x * (hi - lo) / 400.0f; }
float WorldZ(const FedVertex& v, float lo, float hi) { return -(lo + v.y * (hi - lo) / 400.0f); }
float WorldY(const FedVertex& v) { return DepthRange * (1.0f - 2.0f * v.z); }

Rgb ReadPixel(int x, int y) {
  uint8_t rgba[4] = {};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  return {rgba[0], rgba[1], rgba[2]};
}

void WorldTest::SetUp() {
  ASSERT_TRUE(OpenTestWindow(400, 400));
  folder = MakeTempDir();
  previousFolder = ChangeDir(folder);
  StartRecordingMessageBoxes();
}

void WorldTest::TearDown() {
  StopRecordingMessageBoxes();
  if (!previousFolder.empty()) ChangeDir(previousFolder);
  if (!folder.empty()) std::filesystem::remove_all(folder);
  CloseTestWindow();
}
