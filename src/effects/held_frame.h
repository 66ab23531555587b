// The bench's limit: the effects' last frame drawn again from its arrays, unmoved.
#pragma once

// While held, rain, bursts and whirlwind draw the arrays their last frame filled and
// move nothing; the program never holds them.
void HoldEffectsFrame(bool held);
bool EffectsFrameHeld();
