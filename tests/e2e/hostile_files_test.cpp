// Broken data files: every one of the ten missing, or cut to half its length. The program
// says what failed in its boxes, then runs, draws and quits cleanly on Q. (The loaders'
// own tests and fuzz targets hold the other ways a file can be broken.)
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/session.h"

namespace {
// Each case in a process and on a server of its own, so that cases run side by side.
class HostileFilesTest : public ::testing::TestWithParam<bool> {  // cut short (true) or missing
 protected:
  Session s;
  void TearDown() override { StopSession(s); }
};
}  // namespace

// Three pictures fail ("Error" from the picture loader). Missing, so do rain and ambient
// ("Error"), wind ("error") and, for each of the five fireworks, its whistle and pop
// ("error"); cut short, the sounds play what they hold. The sprites fail without a word.
TEST_P(HostileFilesTest, BoxesSayWhatFailedThenTheSceneRunsAndQuits) {
  const bool cut = GetParam();
  ASSERT_TRUE(StartProgram(s, 1280, 1024, [cut](const std::string& dir) {
    for (const char* name : DataFileNames) {
      const std::filesystem::path path = std::filesystem::path(dir) / name;
      cut ? std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2) : void(std::filesystem::remove(path));
    }
  }));
  ASSERT_TRUE(AnswerStartQuestion(s, false)) << ProgramOutput(s);
  std::vector<std::string> expected(cut ? 3 : 5, "Error");
  expected.resize(cut ? 3 : 16, "error");
  std::vector<std::string> captions;
  Window main = AnswerBoxesUntilDrawing(s, &captions);
  EXPECT_EQ(captions, expected);
  ASSERT_NE(main, 0u) << ProgramOutput(s);
  EXPECT_TRUE(WaitForPicture(s, main)) << "the scene is drawn";
  ExpectCleanEnd(s, 0, 10.0);
}

INSTANTIATE_TEST_SUITE_P(EveryFile, HostileFilesTest, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Truncated" : "Missing"); });
