// The island's pictures: its heightmap, the ground texture laid over it and the sea.
#pragma once

#include "file_writers.h"

// 32 x 32 grey samples (R = G = B = height): an island whose border lies under the
// sea, with a spur reaching the left edge at height 140 and a hill top at 250 where
// the plants stand.
Picture MakeHeightmap();
// 256 x 256 ground (sand, grass, earth, rock) that follows the heightmap beneath it:
// texel (8 i, 8 j) lies over sample (i, j). Tiles without a seam.
Picture MakeGroundTexture(const Picture& heightmap);
// 256 x 256 seamless sea: ripples and bright caustic lines on blue.
Picture MakeWaterTexture();
