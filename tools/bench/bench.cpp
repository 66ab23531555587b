// The frame benchmark: the real scene in a hidden window, fixed clocks and frame time,
// one camera that sees the island, the fireworks and the whirlwind; each scene's
// frames (the frame and glFinish) timed, with the median and spread per scene.
#include <GL/gl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/scene.h"
#include "audio/audio_setup.h"
#include "common/frame_time.h"
#include "effects/fireworks.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"
#include "platform/window.h"

namespace {
const uint32_t StartMilliseconds = 1000;
const float FrameSeconds = 1.0f / 60.0f;
const int WarmUpFrames = 5;
const int Passes = 6;

struct Options {
  int width = 400;  // pixels
  int height = 400;
  int frames = 300;                      // timed frames per scene, over all passes
  const char* pictures = nullptr;        // folder for one PPM a scene (its last timed frame), when asked for
  float eyeX = 500.0f, eyeZ = -2000.0f;  // camera: world units, degrees
  float yaw = 180.0f, pitch = 12.0f;
  const char* scene = nullptr;  // the one scene to draw, or all of them in turn
};

struct SceneCase {
  const char* name;
  uint8_t rain, fireworks, wind;
};

const SceneCase Scenes[] = {
    {"bare", 0, 0, 0}, {"rain", 1, 0, 0}, {"fireworks", 0, 1, 0}, {"whirlwind", 0, 0, 1}, {"all", 1, 1, 1},
};

struct Figures {
  double median, low, high;  // milliseconds: median, 10th and 90th percentile
};

struct SceneTimes {
  std::vector<double> wall, processor;  // milliseconds, one a frame
};

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    int width = 0, height = 0;
    if (std::strcmp(argv[i], "--large") == 0) {
      options->width = 1024;
      options->height = 768;
    } else if (std::sscanf(argv[i], "%dx%d", &width, &height) == 2 && width >= 16 && height >= 16) {
      options->width = width;
      options->height = height;
    } else if (std::strcmp(argv[i], "--camera") == 0 && i + 4 < argc) {
      options->eyeX = std::strtof(argv[++i], nullptr);
      options->eyeZ = std::strtof(argv[++i], nullptr);
      options->yaw = std::strtof(argv[++i], nullptr);
      options->pitch = std::strtof(argv[++i], nullptr);
    } else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      options->frames = std::max(10, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--scene") == 0 && i + 1 < argc) {
      options->scene = argv[++i];
    } else if (std::strcmp(argv[i], "--pictures") == 0 && i + 1 < argc) {
      options->pictures = argv[++i];
    } else {
      std::fprintf(
          stderr,
          "usage: quarnholt_bench [--large | WIDTHxHEIGHT] [--frames N] [--pictures DIR] [--camera X Z YAW PITCH]\n"
          "                       [--scene bare|rain|fireworks|whirlwind|all]\n");
      return false;
    }
  }
  return true;
}

// The data files lie beside the program.
void EnterProgramFolder() {
  std::error_code error;
  const std::string folder = ProgramFolder();
  if (!folder.empty()) std::filesystem::current_path(folder, error);
}

// By default from the middle of the island's near half, looking back over it at the
// launch line (1200 units off) and the whirlwind's axis beyond, a little up so the
// bursts fit; the eye's height follows the ground.
void PlaceCamera(const Options& options) {
  GiveCameraStartingValues();
  ViewCamera.eyeX = options.eyeX;
  ViewCamera.eyeZ = options.eyeZ;
  ViewCamera.yaw = options.yaw;
  ViewCamera.pitch = options.pitch;
}

// Every shell is set at the top of its rise with its burst starting now; the timer
// stands still, so all five keep bursting while their particles move and re-emit.
void BurstAllFireworks() {
  uint32_t now = TimerMilliseconds();
  for (Firework& firework : Fireworks) {
    firework.y += firework.velocity.y * 25.0f * firework.riseDuration / 1000.0f;
    firework.launchTime = now - firework.riseDuration - 1;
    firework.burstTime = now;
  }
}

// The weather clears once a second: the tick steps on until the fog has lifted.
void ClearTheFog() {
  for (int step = 0; step < 40 && Switches.fogOn == 1; ++step) {
    AdvanceFakeClocks(1001);
    DrawFrame();
  }
  SetFakeTimer(StartMilliseconds + 100000);
}

bool SetUp(const Options& options) {
  EnterProgramFolder();
  // Silence (OpenAL Soft's null output): the sound is not what is timed.
  if (!std::getenv("ALSOFT_DRIVERS")) putenv(const_cast<char*>("ALSOFT_DRIVERS=null"));
  UseFakeClocks(true);
  SetFakeTimer(StartMilliseconds);
  SetFakeTick(StartMilliseconds);
  if (!CreateHiddenWindow(options.width, options.height)) {
    std::fprintf(stderr, "quarnholt_bench: no OpenGL window; run it under xvfb-run\n");
    return false;
  }
  StartRecordingMessageBoxes();  // a missing file is reported below, not in a box
  SetUpScene();
  ResizeView(options.width, options.height);
  SetFrameSpeed(FrameSeconds);
  PlaceCamera(options);  // no input devices: ProcessInput only places this camera
  ClearTheFog();
  BurstAllFireworks();
  for (const RecordedMessageBox& box : RecordedMessageBoxes())
    std::fprintf(stderr, "quarnholt_bench: %s: %s\n", box.caption.c_str(), box.text.c_str());
  return true;
}

// Milliseconds of processor time used by the whole process, the renderer's threads included.
double ProcessorMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// Wall-clock and processor milliseconds of one frame: the processor time is what
// the frame costs, whatever else the machine is busy with.
struct FrameCost {
  double wall, processor;
};

FrameCost TimeOneFrame() {
  double processorStart = ProcessorMilliseconds();
  auto start = std::chrono::steady_clock::now();
  DrawFrame();
  glFinish();
  std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return {spent.count(), ProcessorMilliseconds() - processorStart};
}

Figures Summarise(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  auto at = [&](double fraction) { return times[static_cast<size_t>(fraction * (times.size() - 1))]; };
  return {at(0.5), at(0.1), at(0.9)};
}

void Record(const FrameCost& cost, SceneTimes* times) {
  times->wall.push_back(cost.wall);
  times->processor.push_back(cost.processor);
}

// A few untimed frames let the scene settle after its switches change. With still
// times, each frame is followed by the same scene drawn again with no time passing:
// nothing moves, so the two sets cover the same scene states and the second is what
// the drawing costs with the simulation standing still.
void TimeFrames(int frames, SceneTimes* times, SceneTimes* stillTimes = nullptr) {
  for (int i = 0; i < WarmUpFrames; ++i) DrawFrame();
  glFinish();
  for (int i = 0; i < frames; ++i) {
    Record(TimeOneFrame(), times);
    if (!stillTimes) continue;
    SetFrameSpeed(0.0f);
    Record(TimeOneFrame(), stillTimes);
    SetFrameSpeed(FrameSeconds);
  }
}

void SwitchTo(const SceneCase& scene) {
  SetRainOn(scene.rain);
  SetFireworksOn(scene.fireworks);
  SetWindEffectOn(scene.wind);
}

// The back buffer as a binary PPM, top row first.
void WritePicture(const std::string& fileName, int width, int height) {
  std::vector<unsigned char> rgb(size_t{3} * width * height);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  FILE* file = std::fopen(fileName.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "quarnholt_bench: cannot write %s\n", fileName.c_str());
    return;
  }
  std::fprintf(file, "P6\n%d %d\n255\n", width, height);
  for (int y = height - 1; y >= 0; --y) std::fwrite(&rgb[size_t{3} * width * y], 1, size_t{3} * width, file);
  std::fclose(file);
}

void PrintRow(const char* name, const SceneTimes& times) {
  if (times.wall.empty()) return;
  Figures wall = Summarise(times.wall), processor = Summarise(times.processor);
  std::printf("%-10s %9.2f %9.2f %9.2f %9.2f\n", name, wall.median, wall.low, wall.high, processor.median);
}

// Ratio of the medians of two scenes, by the wall clock and by processor time.
void PrintRatio(const char* name, const SceneTimes& a, const SceneTimes& b) {
  if (a.wall.empty() || b.wall.empty()) return;
  std::printf("%s %.2f (processor %.2f)\n", name, Summarise(a.wall).median / Summarise(b.wall).median,
              Summarise(a.processor).median / Summarise(b.processor).median);
}
}  // namespace

// The scenes take turns in several passes, so a burst of load from elsewhere on the
// machine falls on all of them alike. The limit is timed within "all": each "all"
// frame drawn again with no time passing. With --scene only that scene is drawn: the
// rain's fog, which stays once the rain has passed (the clocks stand still), then
// covers no other scene.
int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return 2;
  if (!SetUp(options)) return 1;
  std::error_code error;
  if (options.pictures) std::filesystem::create_directories(options.pictures, error);
  const int sceneCount = sizeof(Scenes) / sizeof(Scenes[0]);
  SceneTimes times[sceneCount + 1];
  int framesAPass = std::max(1, options.frames / Passes);
  for (int pass = 0; pass < Passes; ++pass) {
    for (int i = 0; i < sceneCount; ++i) {
      if (options.scene && std::strcmp(options.scene, Scenes[i].name) != 0) continue;
      SwitchTo(Scenes[i]);
      bool all = i == sceneCount - 1;
      TimeFrames(framesAPass, &times[i], all ? &times[sceneCount] : nullptr);
      if (pass == Passes - 1 && options.pictures)
        WritePicture(std::string(options.pictures) + "/" + Scenes[i].name + ".ppm", options.width, options.height);
    }
  }
  std::printf("%d x %d, %d frames a scene in %d passes, frame time %.4f s\n", options.width, options.height,
              framesAPass * Passes, Passes, FrameSeconds);
  std::printf("milliseconds a frame: wall-clock median, 10th and 90th percentile; processor median\n");
  std::printf("%-10s %9s %9s %9s %9s\n", "scene", "median", "p10", "p90", "cpu");
  for (int i = 0; i < sceneCount; ++i) PrintRow(Scenes[i].name, times[i]);
  PrintRatio("all/bare", times[sceneCount - 1], times[0]);
  PrintRow("limit", times[sceneCount]);
  PrintRatio("all/limit", times[sceneCount - 1], times[sceneCount]);
  std::fflush(stdout);
  ShutDownAudio();
  StopWindowSystem();
  return 0;
}
