// Frame-rate counter over the millisecond timer.
#include "app/frame_rate.h"

#include <cstdint>
#include <cstdio>

#include "common/frame_time.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace {
uint32_t previousTime = 0;   // milliseconds
float frameCount = 0.0f;     // frames since the title was last written
uint32_t lastTitleTime = 0;  // milliseconds
char titleText[64] = "";
}  // namespace

void UpdateFrameRate() {
  uint32_t now = TimerMilliseconds();
  // The frame time is the whole milliseconds between two readings, so that no
  // precision is lost however long the program has been running.
  SetFrameSpeed(static_cast<float>(now - previousTime) * 0.001f);
  previousTime = now;
  frameCount = frameCount + 1.0f;
  if (now - lastTitleTime > 1000) {
    lastTitleTime = now;
    std::snprintf(titleText, sizeof titleText, "Quarnholt %d fps", static_cast<int>(frameCount));
    SetMainWindowTitle(titleText);
    frameCount = 0.0f;
  }
}

const char* FrameRateTitle() { return titleText; }
