// Broken data files: every one of the ten missing, empty, cut short, with a wrong size
// in its header, or random bytes. The program says what failed in its boxes, then
// runs, draws and quits cleanly on Q.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>

#include "e2e/session.h"

namespace {
enum class Damage { Missing, Empty, Truncated, WrongSize, RandomBytes };

// Doubles the picture width the header gives, or claims sixteen times the sound data.
void GiveWrongSize(const std::string& name, std::vector<char>& bytes) {
  auto scale = [&](size_t at, int width, uint32_t factor) {
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>(((value * factor) >> (8 * i)) & 0xFF);
  };
  if (name.ends_with("bmp")) scale(18, 4, 2);
  if (name.ends_with("tga")) scale(12, 2, 2);
  for (size_t at = 12; name.ends_with("wav") && at + 8 <= bytes.size(); at += 8)
    if (std::string(&bytes[at], 4) == "data") {
      scale(at + 4, 4, 16);
      break;
    }
}

void Break(const std::string& dir, Damage damage) {
  std::minstd_rand random(20240611);
  for (const char* name : {"heightmap.bmp", "image1.bmp", "water.bmp", "plant4.tga", "boom.tga", "ambient.wav",
                           "rain.wav", "wind.wav", "whistle.wav", "pop.wav"}) {
    std::string path = dir + "/" + name;
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (damage == Damage::Missing) {
      std::remove(path.c_str());
      continue;
    }
    if (damage == Damage::Empty) bytes.clear();
    if (damage == Damage::Truncated) bytes.resize(bytes.size() / 2);
    if (damage == Damage::WrongSize) GiveWrongSize(name, bytes);
    if (damage == Damage::RandomBytes)
      for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
}

// Answers each box with the keyboard, in the order they come, until the main window
// counts frames; the boxes' captions.
std::vector<std::string> AnswerBoxesUntilDrawing(Session& s, Window* main) {
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

// Three pictures ("Error" from the picture loader), then rain and ambient ("Error"),
// wind ("error") and, for each of the five fireworks, its whistle and pop ("error").
// The sprites fail without a word.
const std::vector<std::string> EveryFileFails = {"Error", "Error", "Error", "Error", "Error", "error", "error", "error",
                                                 "error", "error", "error", "error", "error", "error", "error", "error"};
// Cut short or claiming more than they hold, the pictures are refused; the sounds
// play what they hold, as SDL's wave reader takes whole blocks up to the end.
const std::vector<std::string> PicturesFail = {"Error", "Error", "Error"};

struct Case {
  const char* name;
  Damage damage;
  const std::vector<std::string>* captions;
};
const Case Cases[] = {{"Missing", Damage::Missing, &EveryFileFails},
                      {"Empty", Damage::Empty, &EveryFileFails},
                      {"RandomBytes", Damage::RandomBytes, &EveryFileFails},
                      {"Truncated", Damage::Truncated, &PicturesFail},
                      {"WrongSizeInHeader", Damage::WrongSize, &PicturesFail}};

class HostileFilesTest : public ::testing::TestWithParam<Case> {
 protected:
  Session s;
  void TearDown() override { StopSession(s); }
};
}  // namespace

// Each case in a process and on a server of its own, so that cases run side by side.
TEST_P(HostileFilesTest, BoxesSayWhatFailedThenTheSceneRunsAndQuits) {
  ASSERT_TRUE(StartProgram(s, 1280, 1024, [](const std::string& dir) { Break(dir, GetParam().damage); }));
  ASSERT_TRUE(AnswerStartQuestion(s, false)) << ProgramOutput(s);
  Window main = 0;
  EXPECT_EQ(AnswerBoxesUntilDrawing(s, &main), *GetParam().captions);
  ASSERT_NE(main, 0u) << ProgramOutput(s);
  EXPECT_TRUE(WaitForPicture(s, main)) << "the scene is drawn";
  ExpectCleanEnd(s, 0, 10.0);
}

INSTANTIATE_TEST_SUITE_P(EveryFile, HostileFilesTest, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });
