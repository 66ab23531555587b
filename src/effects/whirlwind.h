// The whirlwind: 1000 textured squares winding up a travelling spiral.
#pragma once

void SetUpWindEffect();
void DrawWindEffect();
