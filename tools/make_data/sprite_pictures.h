// The two TGA sprites: the plant and the glow of a firework spark.
#pragma once

#include "file_writers.h"

// 256 x 256 RGBA: a tuft of grass blades and leaves rising from the middle of the
// bottom row, fully opaque where drawn and fully clear elsewhere.
Picture MakePlant();
// 64 x 64 RGBA, straight alpha: near-white colour everywhere, an opaque disc over the
// inner 70 % of the radius whose alpha falls softly to nothing at the edge.
Picture MakeGlow();
