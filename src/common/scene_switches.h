// The scene switches: the controls set them, the frame composition reads them and the
// weather fade drives the fog's.
#pragma once

#include <cstdint>

struct SceneFlags {
  uint8_t fogOn;         // 0 or 1: fog applies to the scene
  uint8_t rainOn;        // 0 or 1
  uint8_t fireworksOn;   // 0 or 1
  uint8_t windEffectOn;  // 0 or 1: the whirlwind runs
};

extern SceneFlags Switches;

void SetRainOn(uint8_t on);
void SetFireworksOn(uint8_t on);
void SetWindEffectOn(uint8_t on);
