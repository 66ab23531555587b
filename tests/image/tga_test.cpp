// The TGA loader: textures read back from OpenGL, reloads, and the record after each failure.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "image/bmp_bytes.h"
#include "image/tga.h"
#include "support/gl_window.h"

namespace {

// An uncompressed true-colour file: the 18-byte header, then B, G, R (, A) pixels.
Bytes Tga(int width, int height, int depth, const Bytes& pixels, int descriptor = 0) {
  return Cat({{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}, Le(2, {width, height}), Le(1, {depth, descriptor}), pixels});
}

Bytes Sequence(size_t count) {
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = uint8_t(i * 7 + 1);
  return bytes;
}

// The file's B, G, R (, A) pixels as R, G, B (, A).
Bytes Swapped(Bytes pixels, size_t bytesPerPixel) {
  for (size_t i = 0; i + 2 < pixels.size(); i += bytesPerPixel) std::swap(pixels[i], pixels[i + 2]);
  return pixels;
}

GLint TextureValue(GLenum name, GLint level = 0) {
  GLint value = -1;
  if (level < 0) glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
  else glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
  return value;
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
    dir = MakeTempDir();
  }
  void TearDown() override {
    std::system(("rm -rf " + dir).c_str());
    CloseTestWindow();
  }
  std::string Write(const Bytes& bytes) { return WriteFile(dir + "/file" + std::to_string(files++) + ".tga", bytes); }
  std::string dir;
  int files = 0;
};

// A 3-pixel-wide 24-bit file (rows not a multiple of 4 bytes) and a 32-bit file with a top-left
// origin and bytes after its pixels: linear level-0 textures, the first stored row as row 0.
TEST_F(TgaTest, FilesBecomeLinearTexturesOfTheirPixels) {
  const struct {
    uint32_t width, height, bpp;
    int descriptor;
    Bytes trailing;
    GLint format;
  } cases[] = {{3, 2, 24, 0, {}, GL_RGB}, {2, 3, 32, 0x28, {9, 9, 9}, GL_RGBA}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bpp);
    const Bytes pixels = Sequence(c.width * c.height * c.bpp / 8);
    TgaImage image = {};
    ASSERT_TRUE(LoadTga(image, Write(Cat({Tga(c.width, c.height, c.bpp, pixels, c.descriptor), c.trailing})).c_str()));
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(image.bpp, c.bpp);
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(Bytes(image.data, image.data + pixels.size()), Swapped(pixels, c.bpp / 8));
    EXPECT_EQ(TextureValue(GL_TEXTURE_MIN_FILTER, -1), GL_LINEAR);
    EXPECT_EQ(TextureValue(GL_TEXTURE_MAG_FILTER, -1), GL_LINEAR);
    EXPECT_EQ(TextureValue(GL_TEXTURE_INTERNAL_FORMAT), c.format);
    EXPECT_EQ(TextureValue(GL_TEXTURE_WIDTH, 1), 0) << "level 0 only";
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), image.texID);
    EXPECT_EQ(TexturePixels(image), Swapped(pixels, c.bpp / 8));
    ReleaseTgaPixels(image);
  }
}

TEST_F(TgaTest, EachLoadMakesANewTextureAndAReloadReleasesThePreviousOne) {
  const Bytes pixels = Sequence(4 * 4 * 3);
  const std::string path = Write(Tga(4, 4, 24, pixels));
  TgaImage fireworks = {}, wind = {};
  ASSERT_TRUE(LoadTga(fireworks, path.c_str()));
  ASSERT_TRUE(LoadTga(wind, path.c_str()));
  EXPECT_NE(fireworks.texID, wind.texID);
  EXPECT_EQ(TexturePixels(fireworks), TexturePixels(wind));
  for (int restart = 0; restart < 3; ++restart) {
    const GLuint previous = fireworks.texID;
    ASSERT_TRUE(LoadTga(fireworks, path.c_str()));
    EXPECT_FALSE(glIsTexture(previous));
    EXPECT_TRUE(glIsTexture(wind.texID));
    EXPECT_EQ(TexturePixels(fireworks), Swapped(pixels, 3));
  }
  // A reload cut short in the pixels gives up the old pixels but keeps the old texture.
  const GLuint kept = fireworks.texID;
  EXPECT_FALSE(LoadTga(fireworks, Write(Tga(4, 4, 24, Bytes(47))).c_str()));
  EXPECT_EQ(fireworks.data, nullptr);
  EXPECT_EQ(fireworks.texID, kept);
  EXPECT_TRUE(glIsTexture(kept));
  ReleaseTgaPixels(wind);
}

TEST_F(TgaTest, EachFailureLeavesTheRecordAsTheStepLeftIt) {
  const Bytes good = Tga(2, 2, 24, Bytes(12, 5));
  const struct {
    const char* what;
    Bytes file;
    uint32_t width, height, bpp;  // what the record holds afterwards
  } cases[] = {
      {"missing file", {}, 7, 9, 99},
      {"header cut short", Bytes(good.begin(), good.begin() + 11), 7, 9, 99},
      {"run-length encoded", Poke(good, 2, 10), 7, 9, 99},
      {"greyscale", Poke(good, 2, 3), 7, 9, 99},
      {"colour-mapped", Poke(good, 1, 1), 7, 9, 99},
      {"image ID present", Poke(good, 0, 1), 7, 9, 99},
      {"colour-map field set", Poke(good, 5, 1), 7, 9, 99},
      {"X origin set", Poke(good, 8, 1), 7, 9, 99},
      {"Y origin set", Poke(good, 11, 1), 7, 9, 99},
      {"dimensions cut short", Bytes(good.begin(), good.begin() + 17), 7, 9, 99},
      {"width 0", Tga(0, 5, 24, Bytes(12)), 0, 5, 99},
      {"height 0", Tga(5, 0, 24, Bytes(12)), 5, 0, 99},
      {"16 bits", Tga(4, 3, 16, Bytes(24)), 4, 3, 99},
      {"pixels cut short", Tga(2, 2, 32, Bytes(15)), 2, 2, 32},
      {"too large to hold", Tga(65535, 65535, 32, Bytes(64)), 65535, 65535, 32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TgaImage image = {nullptr, 99, 7, 9, 1234};
    EXPECT_FALSE(LoadTga(image, (c.file.empty() ? dir + "/missing.tga" : Write(c.file)).c_str()));
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(image.bpp, c.bpp);
    EXPECT_EQ(image.data, nullptr);
    EXPECT_EQ(image.texID, 1234u);
  }
}

}  // namespace
