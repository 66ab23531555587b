// The scene switches, kept apart from the frame that reads them.
#include "common/scene_switches.h"

SceneFlags Switches = {1, 0, 0, 0};

void SetRainOn(uint8_t on) { Switches.rainOn = on; }
void SetFireworksOn(uint8_t on) { Switches.fireworksOn = on; }
void SetWindEffectOn(uint8_t on) { Switches.windEffectOn = on; }
