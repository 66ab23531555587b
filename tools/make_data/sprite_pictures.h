// The two TGA sprites: the plant and the glow of a firework spark.
#pragma once

#include "file_writers.h"

// 256 x 256 RGBA: a tuft of grass blades and leaves rising from the middle of the
// bottom row, fully opaque where drawn and fully clear elsewhere.
Picture MakePlant();
// 64 x 64 RGBA: a soft white glow, brightest and most opaque at the centre, falling
// to nothing at the edge.
Picture MakeGlow();
