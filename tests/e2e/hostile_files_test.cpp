// Broken data files: every one of the ten missing, empty, cut short, with a wrong size
// in its header, or random bytes. The program says what failed in its boxes, then
// runs, draws and quits cleanly on Q.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>

#include "e2e/session.h"

namespace {
const char* const DataFiles[] = {"heightmap.bmp", "image1.bmp", "water.bmp", "plant4.tga", "boom.tga",
                                 "ambient.wav",   "rain.wav",   "wind.wav",  "whistle.wav", "pop.wav"};

enum class Damage { Missing, Empty, Truncated, WrongSize, RandomBytes };

std::vector<char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Doubles the picture width the header gives, or claims sixteen times the sound data.
void GiveWrongSize(const std::string& name, std::vector<char>& bytes) {
  auto scale = [&](size_t at, int bytesWide, uint32_t factor) {
    uint32_t value = 0;
    for (int i = bytesWide - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    value *= factor;
    for (int i = 0; i < bytesWide; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  std::string kind = name.substr(name.size() - 3);
  if (kind == "bmp") scale(18, 4, 2);
  if (kind == "tga") scale(12, 2, 2);
  if (kind == "wav")
    for (size_t at = 12; at + 8 <= bytes.size(); at += 8)
      if (std::string(&bytes[at], 4) == "data") {
        scale(at + 4, 4, 16);
        break;
      }
}

void Break(const std::string& dir, Damage damage) {
  std::minstd_rand random(20240611);
  for (const char* name : DataFiles) {
    std::string path = dir + "/" + name;
    std::vector<char> bytes = ReadFile(path);
    switch (damage) {
      case Damage::Missing: std::remove(path.c_str()); continue;
      case Damage::Empty: bytes.clear(); break;
      case Damage::Truncated: bytes.resize(bytes.size() / 2); break;
      case Damage::WrongSize: GiveWrongSize(name, bytes); break;
      case Damage::RandomBytes:
        for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
        break;
    }
    WriteFile(path, bytes);
  }
}

class HostileFilesTest : public ::testing::Test {
 protected:
  Session s;
  void TearDown() override { StopSession(s); }

  // Answers each box with the keyboard, in the order they come, until the main
  // window counts frames; the boxes' captions.
  std::vector<std::string> AnswerBoxesUntilDrawing(Window* main) {
    std::vector<std::string> captions;
    *main = 0;
    WaitUntil(180.0, [&] {
      for (const auto& [window, name] : TopWindows(s)) {
        if (TitleFrames(name) >= 0) *main = window;
        if (*main || name.empty() || name == "OpenGl Window" || name == "Fullscreen?") continue;
        captions.push_back(name);
        TapKey(s, window, "Return");
        WaitUntil(20.0, [&] {
          for (const auto& top : TopWindows(s))
            if (top.first == window) return false;
          return true;
        });
        return false;
      }
      return *main != 0 || !ProgramRunning(s);
    }, 0.05);
    return captions;
  }

  void RunWith(Damage damage, const std::vector<std::string>& expected) {
    ASSERT_TRUE(StartServer(s, 1280, 1024));
    std::string dir = MakeWorkDir();
    Break(dir, damage);
    ASSERT_TRUE(StartProgram(s, dir, {"ALSOFT_DRIVERS=null"}));
    s.ownWorkDir = true;
    ASSERT_TRUE(AnswerStartQuestion(s, false)) << ProgramOutput(s);
    Window main = 0;
    EXPECT_EQ(AnswerBoxesUntilDrawing(&main), expected);
    ASSERT_NE(main, 0u) << ProgramOutput(s);
    Picture p;
    EXPECT_TRUE(WaitUntil(10.0, [&] { return MeanColour(p = Grab(s, main), 0, 0, p.width, p.height).r > 5; }))
        << "the scene is drawn";
    PressKey(s, "q", true);
    EXPECT_TRUE(WaitForExit(s, 10.0));
    PressKey(s, "q", false);
    EXPECT_EQ(s.exitCode, 0) << ProgramOutput(s);
    EXPECT_FALSE(OutputHasSanitizerReport(s)) << ProgramOutput(s);
  }
};

// Three pictures ("Error" from the picture loader), then rain and ambient ("Error"),
// wind ("error") and, for each of the five fireworks, its whistle and pop ("error").
// The sprites fail without a word.
const std::vector<std::string> EveryFileFails = {"Error", "Error", "Error", "Error", "Error", "error",
                                                 "error", "error", "error", "error", "error", "error",
                                                 "error", "error", "error", "error"};
// Cut short or claiming more than they hold, the pictures are refused; the sounds
// play what they hold, as SDL's wave reader takes whole blocks up to the end.
const std::vector<std::string> PicturesFail = {"Error", "Error", "Error"};
}  // namespace

TEST_F(HostileFilesTest, MissingFiles) { RunWith(Damage::Missing, EveryFileFails); }
TEST_F(HostileFilesTest, EmptyFiles) { RunWith(Damage::Empty, EveryFileFails); }
TEST_F(HostileFilesTest, RandomBytes) { RunWith(Damage::RandomBytes, EveryFileFails); }
TEST_F(HostileFilesTest, TruncatedFiles) { RunWith(Damage::Truncated, PicturesFail); }
TEST_F(HostileFilesTest, WrongSizesInHeaders) { RunWith(Damage::WrongSize, PicturesFail); }
