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
Bytes Tga(uint32_t width, uint32_t height, uint8_t depth, const Bytes& pixels, uint8_t descriptor = 0) {
  Bytes file = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Put16(file, width);
  Put16(file, height);
  file.insert(file.end(), {depth, descriptor});
  file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
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

GLint TextureLevelValue(GLenum name, GLint level = 0) {
  GLint value = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
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
  std::string Write(const std::string& name, const Bytes& bytes) {
    WriteFile(dir + "/" + name, bytes);
    return dir + "/" + name;
  }
  std::string dir;
};

TEST_F(TgaTest, ThreePixelWideTwentyFourBitFileBecomesALinearRgbTexture) {
  const Bytes pixels = Sequence(3 * 2 * 3);
  TgaImage image = {};
  ASSERT_TRUE(LoadTga(image, Write("rgb.tga", Tga(3, 2, 24, pixels)).c_str()));
  EXPECT_EQ(image.width, 3u);
  EXPECT_EQ(image.height, 2u);
  EXPECT_EQ(image.bpp, 24u);
  EXPECT_NE(image.texID, 0u);
  ASSERT_NE(image.data, nullptr);
  EXPECT_EQ(Bytes(image.data, image.data + pixels.size()), Swapped(pixels, 3));

  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(GLuint(bound), image.texID);
  GLint minFilter = 0, magFilter = 0, wrap = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
  EXPECT_EQ(minFilter, GL_LINEAR);
  EXPECT_EQ(magFilter, GL_LINEAR);
  EXPECT_EQ(wrap, GL_REPEAT);
  EXPECT_EQ(TextureLevelValue(GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
  EXPECT_EQ(TextureLevelValue(GL_TEXTURE_WIDTH, 1), 0) << "level 0 only";
  // The file's first stored row is texture row 0.
  EXPECT_EQ(TexturePixels(image), Swapped(pixels, 3));
}

TEST_F(TgaTest, ThirtyTwoBitFileKeepsItsAlphaAndATopLeftOriginIsNotFlipped) {
  const Bytes pixels = Sequence(2 * 3 * 4);
  Bytes file = Tga(2, 3, 32, pixels, 0x28);  // top-left origin, 8 alpha bits
  file.insert(file.end(), {9, 9, 9});        // bytes after the pixels are ignored
  TgaImage image = {};
  ASSERT_TRUE(LoadTga(image, Write("rgba.tga", file).c_str()));
  EXPECT_EQ(image.bpp, 32u);
  EXPECT_EQ(TextureLevelValue(GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
  EXPECT_EQ(Bytes(image.data, image.data + pixels.size()), Swapped(pixels, 4));
  EXPECT_EQ(TexturePixels(image), Swapped(pixels, 4));
}

TEST_F(TgaTest, EachLoadMakesANewTextureAndAReloadReleasesThePreviousOne) {
  const Bytes pixels = Sequence(4 * 4 * 3);
  const std::string path = Write("boom.tga", Tga(4, 4, 24, pixels));
  TgaImage fireworks = {}, wind = {};
  ASSERT_TRUE(LoadTga(fireworks, path.c_str()));
  ASSERT_TRUE(LoadTga(wind, path.c_str()));
  EXPECT_NE(fireworks.texID, wind.texID);
  EXPECT_EQ(TexturePixels(fireworks), TexturePixels(wind));

  for (int restart = 0; restart < 3; ++restart) {
    const GLuint previous = fireworks.texID;
    ASSERT_TRUE(LoadTga(fireworks, path.c_str()));
    EXPECT_NE(fireworks.texID, previous);
    EXPECT_FALSE(glIsTexture(previous));
    EXPECT_TRUE(glIsTexture(wind.texID));
    EXPECT_EQ(TexturePixels(fireworks), Swapped(pixels, 3));
  }
  // A reload cut short in the pixels gives up the old pixels but keeps the old texture.
  const GLuint kept = fireworks.texID;
  EXPECT_FALSE(LoadTga(fireworks, Write("short.tga", Tga(4, 4, 24, Bytes(47))).c_str()));
  EXPECT_EQ(fireworks.data, nullptr);
  EXPECT_EQ(fireworks.texID, kept);
  EXPECT_TRUE(glIsTexture(kept));
  ReleaseTgaPixels(fireworks);
  ReleaseTgaPixels(wind);
}

TEST_F(TgaTest, EachFailureLeavesTheRecordAsTheStepLeftIt) {
  const Bytes header = Tga(2, 2, 24, {});
  auto with = [&](size_t offset, uint8_t value) {
    Bytes file = Tga(2, 2, 24, Bytes(12, 5));
    file[offset] = value;
    return file;
  };
  struct Case {
    const char* what;
    Bytes file;
    uint32_t width, height, bpp;  // what the record holds afterwards
  };
  const Case cases[] = {
      {"header cut short", Bytes(header.begin(), header.begin() + 11), 7, 9, 99},
      {"run-length encoded", with(2, 10), 7, 9, 99},
      {"greyscale", with(2, 3), 7, 9, 99},
      {"colour-mapped", with(1, 1), 7, 9, 99},
      {"image ID present", with(0, 1), 7, 9, 99},
      {"colour-map field set", with(5, 1), 7, 9, 99},
      {"X origin set", with(8, 1), 7, 9, 99},
      {"Y origin set", with(11, 1), 7, 9, 99},
      {"dimensions cut short", Bytes(header.begin(), header.begin() + 17), 7, 9, 99},
      {"width 0", Tga(0, 5, 24, Bytes(12)), 0, 5, 99},
      {"height 0", Tga(5, 0, 24, Bytes(12)), 5, 0, 99},
      {"16 bits", Tga(4, 3, 16, Bytes(24)), 4, 3, 99},
      {"pixels cut short", Tga(2, 2, 32, Bytes(15)), 2, 2, 32},
      {"too large to hold", Tga(65535, 65535, 32, Bytes(64)), 65535, 65535, 32},
  };
  for (const Case& c : cases) {
    TgaImage image = {nullptr, 99, 7, 9, 1234};
    EXPECT_FALSE(LoadTga(image, Write("bad.tga", c.file).c_str())) << c.what;
    EXPECT_EQ(image.width, c.width) << c.what;
    EXPECT_EQ(image.height, c.height) << c.what;
    EXPECT_EQ(image.bpp, c.bpp) << c.what;
    EXPECT_EQ(image.data, nullptr) << c.what;
    EXPECT_EQ(image.texID, 1234u) << c.what;
  }
  TgaImage untouched = {nullptr, 99, 7, 9, 1234};
  EXPECT_FALSE(LoadTga(untouched, (dir + "/missing.tga").c_str()));
  EXPECT_EQ(untouched.width, 7u);
}

}  // namespace
