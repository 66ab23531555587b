// Hidden test windows and folders for the test suites.
#include "support/gl_window.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "app/program.h"
#include "platform/message_box.h"
#include "platform/window.h"

bool OpenTestWindow(int width, int height) {
  if (!CreateHiddenWindow(width, height)) {
    ADD_FAILURE() << "no OpenGL context: run the tests under xvfb-run";
    return false;
  }
  ResizeView(width, height);
  return true;
}

void CloseTestWindow() { StopWindowSystem(); }

int GetInteger(unsigned name) {
  GLint value = 0;
  return glGetIntegerv(name, &value), value;
}

std::string BinDir() { return QUARNHOLT_TEST_BIN_DIR; }

std::string MakeTempDir() {
  static std::mt19937 random(std::random_device{}());
  std::filesystem::path temp = std::filesystem::temp_directory_path(), made;
  do {
    made = temp / ("quarnholt-test-" + std::to_string(random()));
  } while (!std::filesystem::create_directory(made));
  return made.string();
}

std::string ChangeDir(const std::string& dir) {
  std::string previous = std::filesystem::current_path().string();
  std::filesystem::current_path(dir);
  return previous;
}

std::string BoxesShown() {
  std::string all;
  for (const RecordedMessageBox& box : RecordedMessageBoxes()) all += box.text + "|" + box.caption + "\n";
  ClearRecordedMessageBoxes();
  return all;
}
