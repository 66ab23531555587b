// Audio set-up with the looping ambient sound, and its release on quit.
#pragma once

void SetUpAudio();
void ReleaseAudio();
