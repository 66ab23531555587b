// The sea: one large, slowly turning and bobbing, additively blended square.
#pragma once

void LoadWaterTexture();
// Draws the square and advances its turn and bob by the last frame's time. Leaves
// blending off, the texture matrix the identity and the modelview matrix current.
void DrawWater();

// The texture's turn in degrees (0 up to 360) and the bob's phase (0 up to one period).
float WaterAngle();
float WaterPhase();
