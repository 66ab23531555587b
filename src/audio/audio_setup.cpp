// Audio set-up (filled in by the audio work).
#include "audio/audio_setup.h"

void SetUpAudio() {}
void ReleaseAudio() {}
