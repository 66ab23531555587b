// Broken data files: every one of the ten missing, cut short, or random bytes. The program
// says what failed in its boxes, then runs, draws and quits cleanly on Q. (The loaders'
// own tests hold the other ways a file can be broken.)
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>

#include "e2e/session.h"

namespace {
using Damage = void (*)(const std::string& name, std::string& bytes);
struct Case {
  const char* name;
  Damage damage;     // none: the file is removed
  bool soundsFail;   // cut short, the sounds play what they hold
};
const Case Cases[] = {
    {"Missing", nullptr, true},
    {"RandomBytes", [](const std::string&, std::string& bytes) {
       static std::minstd_rand random(20240611);
       for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
     }, true},
    {"Truncated", [](const std::string&, std::string& bytes) { bytes.resize(bytes.size() / 2); }, false}};

void Break(const std::string& dir, Damage damage) {
  for (const char* name : DataFileNames) {
    std::string path = dir + "/" + name;
    std::string bytes = ReadFile(path);
    if (!damage) std::remove(path.c_str());
    else damage(name, bytes), std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
}

class HostileFilesTest : public ::testing::TestWithParam<Case> {
 protected:
  Session s;
  void TearDown() override { StopSession(s); }
};
}  // namespace

// Each case in a process and on a server of its own, so that cases run side by side.
// Three pictures fail ("Error" from the picture loader), then rain and ambient ("Error"),
// wind ("error") and, for each of the five fireworks, its whistle and pop ("error").
// The sprites fail without a word.
TEST_P(HostileFilesTest, BoxesSayWhatFailedThenTheSceneRunsAndQuits) {
  ASSERT_TRUE(StartProgram(s, 1280, 1024, [](const std::string& dir) { Break(dir, GetParam().damage); }));
  ASSERT_TRUE(AnswerStartQuestion(s, false)) << ProgramOutput(s);
  std::vector<std::string> expected(GetParam().soundsFail ? 5 : 3, "Error");
  expected.resize(GetParam().soundsFail ? 16 : 3, "error");
  std::vector<std::string> captions;
  Window main = AnswerBoxesUntilDrawing(s, &captions);
  EXPECT_EQ(captions, expected);
  ASSERT_NE(main, 0u) << ProgramOutput(s);
  EXPECT_TRUE(WaitForPicture(s, main)) << "the scene is drawn";
  ExpectCleanEnd(s, 0, 10.0);
}

INSTANTIATE_TEST_SUITE_P(EveryFile, HostileFilesTest, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });
