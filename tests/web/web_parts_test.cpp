// The web back-end's own parts that need no browser: the key table by KeyboardEvent.code,
// the batches and display lists that stand in for immediate mode, the mipmap levels, and
// the view matrices, the last held to what the system's GLU makes of the same cameras.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/input_devices.h"
#include "platform/web/immediate_mode.h"
#include "platform/web/key_codes.h"
#include "platform/web/mipmaps.h"
#include "platform/web/view_matrices.h"
#include "support/gl_window.h"

namespace {
// The control keys land on the positions the controls read, the rest on their US places.
TEST(WebKeyCodes, NamesMapToTheKeyPositionsTheControlsRead) {
  const std::pair<const char*, uint8_t> keys[] = {
      {"KeyQ", KeyQ},   {"KeyE", KeyE},  {"KeyT", KeyT},    {"KeyY", KeyY}, {"KeyU", KeyU},    {"KeyS", KeyS},
      {"KeyD", KeyD},   {"KeyF", KeyF},  {"KeyG", KeyG},    {"KeyH", KeyH}, {"KeyJ", KeyJ},    {"Escape", 0x01},
      {"Digit0", 0x0B}, {"Space", 0x39}, {"Numpad0", 0x52}, {"F12", 0x58},  {"ArrowUp", 0xC8}, {"Delete", 0xD3}};
  for (const auto& [code, key] : keys) EXPECT_EQ(KeyCodeOfPosition(code), key) << code;
  for (const char* unknown : {"", "keyq", "Q", "KeyÄ", "Fn"}) EXPECT_EQ(KeyCodeOfPosition(unknown), 0) << unknown;
  EXPECT_EQ(KeyCodeOfPosition(nullptr), 0);
}

class WebImmediateMode : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetImmediateState();
    SetCurrentColour(1, 1, 1, 1);
  }
};

// The water's pattern: one colour after glBegin, before the first vertex, is every vertex's.
// A colour set before glBegin stays the current one: the batch carries none of its own.
TEST_F(WebImmediateMode, AColourGivenOnceInABatchIsEveryVertexsAndOneFromBeforeIsTheCurrentOne) {
  ASSERT_TRUE(BeginBatch(PrimitiveQuads));
  EXPECT_FALSE(BeginBatch(PrimitiveQuads)) << "no batch inside a batch";
  SetCurrentColour(0.4f, 0.4f, 1.0f, 0.5f);
  for (int i = 0; i < 4; ++i) {
    SetCurrentTexCoord(static_cast<float>(i), 0.0f);
    AddVertex(static_cast<float>(i), 2.0f, 3.0f);
  }
  const ImmediateBatch* batch = EndBatch();
  ASSERT_NE(batch, nullptr);
  EXPECT_TRUE(batch->colours && batch->texCoords);
  EXPECT_FALSE(batch->normals);
  ASSERT_EQ(batch->vertices.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    const ImmediateVertex& v = batch->vertices[i];
    EXPECT_TRUE(v.x == i && v.s == i && v.b == 1.0f && v.a == 0.5f) << i;
  }
  EXPECT_EQ(EndBatch(), nullptr) << "the batch ended once";

  SetCurrentColour(0.2f, 0.3f, 0.4f, 1.0f);
  AddVertex(9, 9, 9);  // outside a batch: nothing
  ASSERT_TRUE(BeginBatch(PrimitiveTriangleFan));
  AddVertex(0, 0, 0);
  ASSERT_NE(batch = EndBatch(), nullptr);
  EXPECT_FALSE(batch->colours || batch->texCoords || batch->normals);
  ASSERT_EQ(batch->vertices.size(), 1u);
  EXPECT_EQ(batch->vertices[0].g, 0.3f);
  EXPECT_FALSE(BeginBatch(PrimitivePolygon + 1)) << "no such primitive";
}

// The browser draws no quad strips or polygons: strips of triangles and fans instead.
TEST_F(WebImmediateMode, QuadStripsAndPolygonsBecomeTriangleStripsAndFans) {
  const std::pair<uint32_t, uint32_t> modes[] = {{PrimitiveQuadStrip, PrimitiveTriangleStrip},
                                                 {PrimitivePolygon, PrimitiveTriangleFan},
                                                 {PrimitiveQuads, PrimitiveQuads}};
  for (const auto& [given, drawn] : modes) {
    ASSERT_TRUE(BeginBatch(given));
    for (int i = 0; i < 5; ++i) AddVertex(static_cast<float>(i), 0, 0);
    const ImmediateBatch* batch = EndBatch();
    ASSERT_NE(batch, nullptr);
    EXPECT_EQ(batch->mode, drawn) << given;
    EXPECT_EQ(batch->vertices.size(), given == PrimitiveQuadStrip ? 4u : 5u) << "a quad strip's odd vertex goes";
  }
}

void RecordTriangle(float x) {
  BeginBatch(0x0004);
  for (int i = 0; i < 3; ++i) AddVertex(x, static_cast<float>(i), 0);
}

// Lists: compiled alone they draw nothing; compiled and run they draw as they record;
// a list recorded again holds only the new batches; deleted, it is gone.
TEST_F(WebImmediateMode, DisplayListsKeepTheirBatchesUntilReplacedOrDeleted) {
  EXPECT_EQ(GenerateLists(0), 0u);
  uint32_t first = GenerateLists(2);
  ASSERT_NE(first, 0u);
  EXPECT_NE(GenerateLists(1), first + 1) << "names are not given twice";
  ASSERT_NE(ListBatches(first + 1), nullptr);
  EXPECT_TRUE(ListBatches(first + 1)->empty());
  EXPECT_EQ(ListBatches(first + 99), nullptr);

  ASSERT_TRUE(StartList(first, false));
  EXPECT_FALSE(StartList(first + 1, true)) << "one list records at a time";
  RecordTriangle(1);
  EXPECT_EQ(EndBatch(), nullptr) << "compiled only";
  RecordTriangle(2);
  EndBatch();
  EndList();
  ASSERT_EQ(ListBatches(first)->size(), 2u);

  ASSERT_TRUE(StartList(first, true));
  RecordTriangle(3);
  const ImmediateBatch* drawn = EndBatch();
  EndList();
  ASSERT_NE(drawn, nullptr) << "compiled and executed";
  EXPECT_EQ(drawn->vertices[0].x, 3);
  ASSERT_EQ(ListBatches(first)->size(), 1u);
  EXPECT_EQ((*ListBatches(first))[0].vertices[0].x, 3);

  RecordTriangle(4);
  ASSERT_NE(EndBatch(), nullptr) << "no list records now: drawn at once";
  EXPECT_EQ(ListBatches(first)->size(), 1u);
  EXPECT_FALSE(StartList(0, false));
  DeleteLists(first, 2);
  EXPECT_EQ(ListBatches(first), nullptr);
  EXPECT_EQ(ListBatches(first + 1), nullptr);
}

// 2 x 2 blocks become their rounded mean, level by level down to one pixel; along a side
// already down to one pixel, pairs are averaged, every channel on its own. A side that is no
// power of two is taken down to one, nearest pixel; nothing comes from nothing.
TEST(WebMipmaps, EachLevelIsTheRoundedMeanOfTheBlocksBelow) {
  const uint8_t grey[16] = {0,  1,  255, 255,  //
                            1,  1,  254, 254,  //
                            10, 20, 7,   7,    //
                            30, 41, 7,   8};
  std::vector<MipmapLevel> levels = BuildMipmapLevels(grey, 4, 4, 1);
  ASSERT_EQ(levels.size(), 3u);
  EXPECT_EQ(levels[0].pixels, std::vector<uint8_t>(grey, grey + 16));
  EXPECT_EQ(levels[1].width, 2);
  EXPECT_EQ(levels[1].pixels, (std::vector<uint8_t>{1, 255, 25, 7}));
  EXPECT_EQ(levels[2].width * levels[2].height, 1);
  EXPECT_EQ(levels[2].pixels, (std::vector<uint8_t>{72}));  // (1 + 255 + 25 + 7 + 2) / 4

  const uint8_t rgb[12] = {0, 100, 255, 1, 101, 255, 200, 0, 9, 100, 0, 10};
  levels = BuildMipmapLevels(rgb, 4, 1, 3);
  ASSERT_EQ(levels.size(), 3u);
  EXPECT_EQ(levels[1].height, 1);
  EXPECT_EQ(levels[1].pixels, (std::vector<uint8_t>{1, 101, 255, 150, 0, 10}));
  EXPECT_EQ(levels[2].pixels, (std::vector<uint8_t>{76, 51, 133}));

  std::vector<uint8_t> picture(size_t{6} * 3);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint8_t>(i);
  levels = BuildMipmapLevels(picture.data(), 6, 3, 1);
  ASSERT_EQ(levels.size(), 3u);
  EXPECT_EQ(levels[0].width, 4);
  EXPECT_EQ(levels[0].height, 2);
  EXPECT_EQ(levels[0].pixels, (std::vector<uint8_t>{0, 1, 3, 4, 6, 7, 9, 10}));
  EXPECT_TRUE(BuildMipmapLevels(nullptr, 4, 4, 3).empty());
  EXPECT_TRUE(BuildMipmapLevels(picture.data(), 0, 3, 1).empty());
}

void ExpectSameMatrix(const float* ours, const float* glu, const char* what) {
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(ours[i], glu[i], 1e-4f * (1.0f + std::abs(glu[i]))) << what << " [" << i << "]";
}

// Cameras the program uses and others, each multiplied onto a matrix already there.
TEST(WebViewMatrices, LookAtAndPerspectiveMatchTheSystemsGlu) {
  ASSERT_TRUE(OpenTestWindow(64, 64));
  const double cameras[][9] = {{0, 0, 0, 0, 0, -100, 0, 1, 0},
                               {500, 120, -2000, 500, 100, -2100, 0, 1, 0},
                               {300, 80, -500, 340, 70, -480, 0, 1, 0},
                               {1, 2, 3, -4, 5, -6, 0.3, 1, 0.2}};
  float glu[16], ours[16], rotation[16];
  glMatrixMode(GL_MODELVIEW);
  for (const double* c : cameras) {
    glLoadIdentity();
    glTranslatef(0, 0, -5);
    gluLookAt(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8]);
    glGetFloatv(GL_MODELVIEW_MATRIX, glu);
    glLoadIdentity();
    glTranslatef(0, 0, -5);
    LookAtRotation(c, c + 3, c + 6, rotation);
    glMultMatrixf(rotation);
    glTranslated(-c[0], -c[1], -c[2]);
    glGetFloatv(GL_MODELVIEW_MATRIX, ours);
    ExpectSameMatrix(ours, glu, "look-at");
  }
  const double views[][4] = {{45, 1, 1, 10000}, {45, 1024.0 / 768.0, 1, 10000}, {60, 0.5, 0.25, 30}};
  for (const double* v : views) {
    glLoadIdentity();
    gluPerspective(v[0], v[1], v[2], v[3]);
    glGetFloatv(GL_MODELVIEW_MATRIX, glu);
    ASSERT_TRUE(PerspectiveMatrix(v[0], v[1], v[2], v[3], ours));
    ExpectSameMatrix(ours, glu, "perspective");
  }
  EXPECT_FALSE(PerspectiveMatrix(45, 0, 1, 100, ours));
  EXPECT_FALSE(PerspectiveMatrix(45, 1, 5, 5, ours));
  CloseTestWindow();
}
}  // namespace
