// Scene set-up, the scene switches, the weather fade of fog and sky, and the frame.
#pragma once

#include <cstdint>

#include "common/scene_switches.h"

struct Weather {
  float fogEnd;           // world units, end distance of the linear fog
  float fogStep;          // world units per fade step
  float skyBlue;          // blue of the clear colour and the fog colour, 0.25 to 0.5
  uint32_t lastFadeTick;  // milliseconds, tick of the last fade step
};

extern Weather WeatherFade;

void SetUpScene();
void DrawFrame();

// Enables linear fog with colour (0.25, 0.25, blue, 1) ending at endDistance.
void ApplyFogSettings(float blue, float endDistance);
// One step of the weather fade when more than 1000 ms have passed since the last.
void UpdateWeather();
