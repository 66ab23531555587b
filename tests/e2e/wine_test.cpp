// The Windows build under Wine, where it differs from the Linux one's paths: the Yes/No
// question on a display without 1024 x 768, the sound mixed by DirectSound rather than
// OpenAL Soft, a folder whose name is not ASCII, the command line answered in boxes, and
// the resources in the .exe. (scripts/windows --test also runs the scene and broken-file
// tests under Wine.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>

#include "e2e/session.h"

namespace {
struct WineTest : testing::Test {
  Session linux, s;
  void SetUp() override {
    if (!UnderWine()) GTEST_SKIP() << "scripts/windows --test runs this under Wine";
  }
  void TearDown() override { StopSession(linux), StopSession(s); }
};

// Starts the unpacked program with the arguments from a folder of the given name (UTF-8
// here, the ANSI code page's bytes to the program) inside the work folder, with Wine's
// debug channels as given.
bool StartInFolder(Session& s, const std::string& folder, const std::vector<std::string>& arguments,
                   const std::string& wineDebug = "-all") {
  std::vector<std::string> command = {"/bin/sh",
                                      "-c",
                                      "cd \"$0\" && exec \"$@\"",
                                      folder,
                                      "env",
                                      "WINEDEBUG=" + wineDebug,
                                      std::getenv("QUARNHOLT_WINE"),
                                      "quarnholt.exe"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return StartProgram(
      s, 1280, 1024,
      [&](const std::string& dir) {
        UnpackWindowsProgram(s);
        const std::filesystem::path from = dir, to = from / folder;
        std::filesystem::create_directory(to);
        for (const auto& entry : std::filesystem::directory_iterator(std::getenv("QUARNHOLT_WINE_DIR")))
          std::filesystem::rename(from / entry.path().filename(), to / entry.path().filename());
      },
      command);
}

// The resources of a Windows program, by type and id (each in its first language), as the
// cross-build's windres writes them out: a .res file, an entry of the type, id and data a time.
std::map<std::pair<uint32_t, uint32_t>, std::string> Resources(const std::string& exe) {
  std::map<std::pair<uint32_t, uint32_t>, std::string> found;
  char res[] = "/tmp/quarnholt-e2e-XXXXXX";
  close(mkstemp(res));
  const bool written = std::system(("x86_64-w64-mingw32-windres -J coff -O res '" + exe + "' " + res).c_str()) == 0;
  const std::string b = written ? ReadFile(res) : "";
  std::remove(res);
  auto at = [&](size_t offset, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | (offset + i < b.size() ? uint8_t(b[offset + i]) : 0);
    return value;
  };
  // Each entry: the data's size and the header's, then type and id, each 0xFFFF and a number when not named.
  for (size_t entry = 0; entry + 32 <= b.size() && at(entry + 4, 4) >= 32;
       entry += (at(entry + 4, 4) + at(entry, 4) + 3) & ~3u)
    if (at(entry + 8, 2) == 0xFFFF && at(entry + 12, 2) == 0xFFFF)
      found.try_emplace({at(entry + 10, 2), at(entry + 14, 2)}, b.substr(entry + at(entry + 4, 4), at(entry, 4)));
  return found;
}

// How many times the text appears in the program's output so far.
int Count(const Session& s, const std::string& text) {
  const std::string output = ProgramOutput(s);
  int count = 0;
  for (size_t at = output.find(text); at != std::string::npos; at = output.find(text, at + 1)) ++count;
  return count;
}

// The text as UTF-16, as version resources hold their keys and values.
std::string Wide(const std::string& text) {
  std::string wide;
  for (char c : text) wide += std::string{c, '\0'};
  return wide;
}
}  // namespace

// Unpacked under a folder whose name has "ü", "é" and "ß" in the ANSI code page (none of
// them valid UTF-8 there), Yes: the doh box, and no other, for every file loads; then the
// window, which a close request ends. Meanwhile its ambient is as loud as the Linux build's
// within 1 dB, over half its 20-second loop, so that where each output's file begins in the
// loop counts for little.
TEST_F(WineTest, InAFolderNamedWithAccentsYesSaysDohAndTheAmbientIsAsLoudAsOnLinux) {
  ASSERT_TRUE(StartProgram(linux, 1280, 1024, {}, {BinDirectory() + "/quarnholt", "--windowed"}));
  const double linuxLevel = Level(linux, 1.0, 11.0);
  StopSession(linux);
  ASSERT_TRUE(StartInFolder(s, "Zürich Café Straße", {}));
  ASSERT_TRUE(AnswerStartQuestion(s, true)) << ProgramOutput(s);
  std::vector<std::string> captions;
  const Window w = AnswerBoxesUntilDrawing(s, &captions);
  ASSERT_NE(w, 0u) << "exit code " << (ProgramRunning(s), s.exitCode) << ": " << ProgramOutput(s);
  EXPECT_EQ(captions, std::vector<std::string>{"doh"});
  EXPECT_TRUE(WaitForPicture(s, w));
  const double from = SoundSeconds(s) + 1.0, wineLevel = Level(s, from, from + 10.0);
  ASSERT_GT(linuxLevel, 0.002);
  const double decibels = Decibels(wineLevel, linuxLevel);
  std::printf("ambient: %.4f under Wine, %.4f on Linux (%+.2f dB)\n", wineLevel, linuxLevel, decibels);
  EXPECT_NEAR(decibels, 0.0, 1.0);
  ExpectCleanEnd(s, w);
}

// A program without a console answers its command line in a box captioned "Quarnholt":
// an unknown option (a file dropped onto it) with the usage and exit code 2, --version
// with the version and 0.
TEST_F(WineTest, TheCommandLineIsAnsweredInABox) {
  for (auto [argument, code] : {std::pair<std::string, int>{"C:\\island.txt", 2}, {"--version", 0}}) {
    SCOPED_TRACE(argument);
    ASSERT_TRUE(StartInFolder(s, "plain", {argument}));
    const Window box = FindWindow(s, "Quarnholt", 60.0);
    ASSERT_NE(box, 0u) << ProgramOutput(s);
    TapKey(s, box, "Return");
    ASSERT_TRUE(WaitUntil(30.0, [&] { return !ProgramRunning(s); }));
    EXPECT_EQ(s.exitCode, code) << ProgramOutput(s);
    StopSession(s);
  }
}

// The .exe carries make_data's island icon (48 and 256 pixels), its version and a manifest
// asking for per-monitor DPI awareness, today's common controls and the systems it knows.
TEST_F(WineTest, TheProgramCarriesItsIconVersionAndManifest) {
  auto resources = Resources(std::string(std::getenv("QUARNHOLT_WINE_DIR")) + "/quarnholt.exe");
  const std::string icon = ReadFile(BinDirectory() + "/../icons/quarnholt.ico"), group = resources[{14, 1}];
  ASSERT_GE(icon.size(), 6u);
  ASSERT_EQ(group.size(), 6u + 2 * 14) << "an icon group of two pictures";
  for (int i = 0; i < 2; ++i) {
    auto at = [&](const std::string& b, size_t offset) {
      return uint8_t(b[offset]) | uint32_t(uint8_t(b[offset + 1])) << 8;
    };
    const size_t entry = 6 + 14 * i, fileEntry = 6 + 16 * i;
    EXPECT_EQ(uint8_t(group[entry]), i == 0 ? 48 : 0) << "48 pixels, then 256 (written 0)";
    const uint32_t offset = at(icon, fileEntry + 12) | at(icon, fileEntry + 14) << 16;
    const uint32_t size = at(icon, fileEntry + 8) | at(icon, fileEntry + 10) << 16;
    const std::string picture = resources[{3, at(group, entry + 12)}];
    EXPECT_TRUE(picture == icon.substr(offset, size)) << "picture " << i << " as drawn";
  }
  const std::string version = resources[{16, 1}];
  for (const char* text : {"ProductName", "Quarnholt", "ProductVersion", QUARNHOLT_E2E_VERSION, "FileDescription"})
    EXPECT_NE(version.find(Wide(text)), std::string::npos) << text;
  const std::string manifest = resources[{24, 1}];
  for (const char* text : {"<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2",
                           "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                           "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"})
    EXPECT_NE(manifest.find(text), std::string::npos) << text;
}

// DirectSound buffers (Wine's trace of its sound calls counts them) are all made during
// set-up: fireworks launched and burst many times, rain and wind started and stopped, make none.
TEST_F(WineTest, PlayingMakesNoSoundBuffer) {
  ASSERT_TRUE(StartInFolder(s, "plain", {"--windowed"}, "-all,trace+dsound"));
  std::vector<std::string> captions;
  const Window w = AnswerBoxesUntilDrawing(s, &captions);
  ASSERT_NE(w, 0u) << ProgramOutput(s).substr(0, 2000);
  auto made = [&] {
    return Count(s, ":IDirectSound8Impl_CreateSoundBuffer ") + Count(s, ":IDirectSound8Impl_DuplicateSoundBuffer ");
  };
  auto plays = [&] { return Count(s, ":IDirectSoundBufferImpl_Play "); };
  const int inSetUp = made(), playsBefore = plays();
  EXPECT_GT(inSetUp, 0);
  for (const char* key : {"t", "u", "y"}) TapKey(s, w, key, 0.3);
  int polls = 0;  // Y again (fireworks restarted) every 10 s, for a press that Wine missed
  EXPECT_TRUE(WaitUntil(90.0, 1.0, [&] {
    return plays() >= playsBefore + 30 || (++polls % 10 == 0 && (TapKey(s, w, "y", 0.3), false));
  })) << "whistles and pops, rain and wind";
  for (const char* key : {"g", "j", "t", "g"}) TapKey(s, w, key, 0.3);
  std::printf("sound buffers: %d made in set-up, %d after %d plays\n", inSetUp, made() - inSetUp,
              plays() - playsBefore);
  EXPECT_EQ(made(), inSetUp);
  ExpectCleanEnd(s, 0, 10.0);  // the trace slows it down: the quit's time is measured untraced
}
