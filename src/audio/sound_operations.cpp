// Sound operations (filled in by the audio work).
#include "audio/sound_operations.h"

void SetFireworkSoundPosition(int, float, float, float) {}
void StartFireworkPop(int) {}
void StopFireworkPop(int) {}
void StartFireworkWhistle(int) {}
void StopFireworkWhistle(int) {}
void StartRainSound() {}
void StopRainSound() {}
void StartWindSound() {}
void StopWindSound() {}
void SetWindSoundPosition(float, float, float) {}
void UpdateListener(float, float, float, float, float, float) {}
