// Water (filled in by the world work).
#include "world/water.h"

void LoadWaterTexture() {}
void DrawWater() {}
