// The three looping background sounds: they join end to start without a click.
#pragma once

#include "file_writers.h"

// 20 s stereo: waves breaking on a shore, wind in the grass, now and then a bird.
Sound MakeAmbient();
// 8 s stereo: steady rain, a hiss of countless drops with a few near ones.
Sound MakeRain();
// 12 s mono: wind rising and falling in gusts, with a hollow howl.
Sound MakeWind();
