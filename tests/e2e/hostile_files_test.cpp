// Broken data files: every one of the ten missing, cut to half its length, or a folder or a
// FIFO in its place; sounds too long to hold. The program says what failed in its boxes
// without waiting on any file or holding a long sound, then runs, draws and quits cleanly on Q. (The loaders' own
// tests and fuzz targets hold the other ways a file can be broken.)
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "e2e/session.h"

namespace {
namespace fs = std::filesystem;
enum class Broken { Missing, Truncated, Folder, Fifo, TooLong };
const char* const BrokenNames[] = {"Missing", "Truncated", "Folder", "Fifo", "TooLong"};

// Each case in a process and on a server of its own, so that cases run side by side.
class HostileFilesTest : public ::testing::TestWithParam<Broken> {
 protected:
  Session s;
  void TearDown() override { StopSession(s); }
};

// The largest resident memory the running program has had, in MB.
double PeakMegabytes(const Session& s) {
  const std::string status = ReadFile("/proc/" + std::to_string(s.program) + "/status");
  const size_t at = status.find("VmHWM:");
  return at == std::string::npos ? -1.0 : std::atof(status.c_str() + at + 6) / 1024.0;
}

// A 16-bit stereo 48 kHz wave holding `bytes` of samples (silence), as a sparse file.
void WriteLongWave(const std::string& path, int64_t bytes) {
  WriteFile(path, WaveHeader(2, 48000, bytes));
  fs::resize_file(path, 44 + bytes);
}
}  // namespace

// Three pictures fail ("Error" from the picture loader), so do rain and ambient ("Error"),
// wind ("error") and, for each of the five fireworks, its whistle and pop ("error"). The
// sprites fail without a word. Nothing waits on a FIFO. An ambient sound of 200 MB, and a
// whistle whose header claims more than ten minutes of 48 kHz stereo, are each refused with
// their boxes before their samples are read, so the program never holds them.
TEST_P(HostileFilesTest, BoxesSayWhatFailedThenTheSceneRunsAndQuits) {
  const Broken broken = GetParam();
  ASSERT_TRUE(StartProgram(s, 1280, 1024, [broken](const std::string& dir) {
    for (const char* name : DataFileNames) {
      const fs::path path = fs::path(dir) / name;
      if (broken == Broken::Truncated) fs::resize_file(path, fs::file_size(path) / 2);
      if (broken != Broken::Truncated && broken != Broken::TooLong) fs::remove(path);
      if (broken == Broken::Folder) fs::create_directory(path);
      if (broken == Broken::Fifo) mkfifo(path.c_str(), 0644);
    }
    if (broken == Broken::TooLong) {
      WriteLongWave(dir + "/" + AmbientSoundFile, 200000000);
      WriteLongWave(dir + "/" + WhistleSoundFile, 115200004);
    }
  }));
  ASSERT_TRUE(AnswerStartQuestion(s, false)) << ProgramOutput(s);
  std::vector<std::string> expected(broken == Broken::TooLong ? 1 : 5, "Error"), captions;
  expected.resize(broken == Broken::TooLong ? 6 : 16, "error");
  Window main = AnswerBoxesUntilDrawing(s, &captions);
  EXPECT_EQ(captions, expected);
  ASSERT_NE(main, 0u) << ProgramOutput(s);
  EXPECT_LT(PeakMegabytes(s), 400.0);
  EXPECT_TRUE(WaitForPicture(s, main)) << "the scene is drawn";
  ExpectCleanEnd(s, 0, 10.0);
}

INSTANTIATE_TEST_SUITE_P(EveryFile, HostileFilesTest,
                         ::testing::Values(Broken::Missing, Broken::Truncated, Broken::Folder, Broken::Fifo,
                                           Broken::TooLong),
                         [](const auto& info) { return std::string(BrokenNames[int(info.param)]); });
