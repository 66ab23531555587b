// The sea: one large, slowly turning and bobbing, additively blended square.
#pragma once

void LoadWaterTexture();
void DrawWater();
