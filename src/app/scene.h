// Scene set-up, the scene switches, the weather fade of fog and sky, and the frame.
#pragma once

#include <cstdint>

struct SceneFlags {
  uint8_t fogOn;         // 0 or 1: fog applies to the scene
  uint8_t rainOn;        // 0 or 1
  uint8_t fireworksOn;   // 0 or 1
  uint8_t windEffectOn;  // 0 or 1: the whirlwind runs
};

struct Weather {
  float fogEnd;           // world units, end distance of the linear fog
  float fogStep;          // world units per fade step
  float skyBlue;          // blue of the clear colour and the fog colour, 0.25 to 0.5
  uint32_t lastFadeTick;  // milliseconds, tick of the last fade step
};

extern SceneFlags Switches;
extern Weather WeatherFade;

void SetUpScene();
void DrawFrame();

void SetRainOn(uint8_t on);
void SetFireworksOn(uint8_t on);
void SetWindEffectOn(uint8_t on);

// Enables linear fog with colour (0.25, 0.25, blue, 1) ending at endDistance.
void ApplyFogSettings(float blue, float endDistance);
// One step of the weather fade when more than 1000 ms have passed since the last.
void UpdateWeather();
