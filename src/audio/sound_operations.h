// The per-frame sound operations: rain, wind, firework sounds and the listener.
#pragma once

void SetFireworkSoundPosition(int firework, float x, float y, float z);
void StartFireworkPop(int firework);
void StopFireworkPop(int firework);
void StartFireworkWhistle(int firework);
void StopFireworkWhistle(int firework);
void StartRainSound();
void StopRainSound();
void StartWindSound();
void StopWindSound();
void SetWindSoundPosition(float x, float y, float z);
// Places the listener at the eye, facing along the view.
void UpdateListener(float px, float py, float pz, float fx, float fy, float fz);
