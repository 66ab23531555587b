// The two one-shot firework sounds; both start and end in silence.
#pragma once

#include "file_writers.h"

// 2.4 s mono: a shell's whistle, rising from about 700 Hz to 2.6 kHz.
Sound MakeWhistle();
// 1.3 s mono: the burst, a sharp crack over a low thump, a crackle and a fading rumble.
Sound MakePop();
