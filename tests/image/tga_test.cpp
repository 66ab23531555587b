// The TGA loader: textures read back from OpenGL, reloads, and the record after each failure.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "image/tga.h"
#include "support/bytes.h"
#include "support/gl_window.h"

namespace {

// An uncompressed true-colour file: the 18-byte header, then B, G, R (, A) pixels.
Bytes Tga(int width, int height, int depth, const Bytes& pixels, int descriptor = 0) {
  return Cat({{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}, Le(2, {width, height}), Le(1, {depth, descriptor}), pixels});
}

// Counted bytes as stored, and as R, G, B (, A) after the swap.
Bytes Sequence(size_t count, size_t swapEvery = 0) {
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = uint8_t(i * 7 + 1);
  for (size_t i = 0; swapEvery && i + 2 < count; i += swapEvery) std::swap(bytes[i], bytes[i + 2]);
  return bytes;
}

Bytes TexturePixels(const TgaImage& image) {
  glBindTexture(GL_TEXTURE_2D, image.texID);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  Bytes pixels(size_t(image.width) * image.height * (image.bpp / 8));
  glGetTexImage(GL_TEXTURE_2D, 0, image.bpp == 32 ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

class TgaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenTestWindow());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // as the terrain loader leaves it
  }
  void TearDown() override {
    std::filesystem::remove_all(dir);
    CloseTestWindow();
  }
  const std::string dir = MakeTempDir(), path = dir + "/t.tga";
};

// A 3-pixel-wide 24-bit file (rows not a multiple of 4 bytes), then a 32-bit file with a top-left
// origin and bytes after its pixels, into the same record: each a linear level-0 texture of its
// pixels, the first stored row as row 0, that replaces the record's previous texture and no other.
TEST_F(TgaTest, EachLoadMakesALinearTextureOfThePixelsInPlaceOfTheRecordsPrevious) {
  const struct {
    uint32_t width, height, bpp;
    int descriptor;
    GLint format;
  } cases[] = {{3, 2, 24, 0, GL_RGB}, {2, 3, 32, 0x28, GL_RGBA}};
  TgaImage image = {}, other = {};
  ASSERT_TRUE(LoadTga(other, WriteFile(path, Tga(1, 1, 24, {1, 2, 3})).c_str()));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bpp);
    const size_t size = c.width * c.height * c.bpp / 8;
    const GLuint previous = image.texID;
    ASSERT_TRUE(
        LoadTga(image, WriteFile(path, Tga(c.width, c.height, c.bpp, Sequence(size + 2), c.descriptor)).c_str()));
    GLint filters[2] = {}, format = 0, level1Width = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filters[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filters[1]);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1Width);
    EXPECT_EQ(GLuint(GetInteger(GL_TEXTURE_BINDING_2D)), image.texID);
    EXPECT_TRUE(filters[0] == GL_LINEAR && filters[1] == GL_LINEAR && format == c.format && level1Width == 0);
    EXPECT_EQ(TexturePixels(image), Sequence(size, c.bpp / 8));
    EXPECT_TRUE(image.texID != previous && !glIsTexture(previous) && glIsTexture(other.texID));
  }
  ReleaseTgaPixels(image);
  ReleaseTgaPixels(other);
}

// The record keeps its old pixels until a new depth is accepted; its texture stays.
TEST_F(TgaTest, EachFailureLeavesTheRecordAsTheStepLeftIt) {
  const Bytes good = Tga(2, 2, 24, Bytes(12, 5));
  // The size and depth are what the record holds afterwards.
  const struct {
    const char* what;
    Bytes file;
    uint32_t width, height, bpp;
  } cases[] = {
      {"missing file", {}, 7, 9, 99},
      {"header cut short", Bytes(good.begin(), good.begin() + 11), 7, 9, 99},
      {"Y origin set (the last compared byte)", Poke(good, 11, 1), 7, 9, 99},
      {"dimensions cut short", Bytes(good.begin(), good.begin() + 17), 7, 9, 99},
      {"width 0", Tga(0, 5, 24, Bytes(12)), 0, 5, 99},
      {"height 0", Tga(5, 0, 24, Bytes(12)), 5, 0, 99},
      {"16 bits", Tga(4, 3, 16, Bytes(24)), 4, 3, 99},
      {"pixels cut short", Tga(2, 2, 32, Bytes(15)), 2, 2, 32},
      {"too large to hold", Tga(65535, 65535, 32, Bytes(64)), 65535, 65535, 32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto* old = static_cast<uint8_t*>(std::malloc(1));
    TgaImage image = {old, 99, 7, 9, 1234};
    EXPECT_FALSE(LoadTga(image, (c.file.empty() ? dir + "/missing.tga" : WriteFile(path, c.file)).c_str()));
    EXPECT_EQ(std::vector<uint32_t>({image.width, image.height, image.bpp, image.texID}),
              std::vector<uint32_t>({c.width, c.height, c.bpp, 1234}));
    EXPECT_EQ(image.data, c.bpp == 99 ? old : nullptr);
    ReleaseTgaPixels(image);
  }
}

}  // namespace
