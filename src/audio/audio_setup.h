// Audio set-up with the looping ambient sound, and its release on quit.
#pragma once

#include "platform/sound_engine.h"

// The shared audio objects: empty until SetUpAudio, emptied again by ReleaseAudio.
extern SoundPerformance* Performance;
extern SoundLoader* Loader;
extern SoundSegment* RainSegment;
extern SoundSegment* AmbientSegment;
extern SoundSegment* WindSegment;
extern SoundAudioPath* RainPath;
extern SoundAudioPath* AmbientPath;
extern SoundAudioPath* WindPath;
extern Sound3DBuffer* WindBuffer;
extern SoundListener* Listener;
extern SoundBufferParams WindBufferParams;
extern SoundListenerParams ListenerParams;

// Channels of every audio path the program makes.
constexpr int AudioPathChannels = 64;

// Creates the engine, loads the rain, ambient and wind sounds from the current
// directory, starts the ambient loop at -10 dB and sets up the firework sounds.
// Each failure shows its message and set-up goes on.
void SetUpAudio();
// Releases each shared audio object once and empties its handle.
void ReleaseAudio();
// At the program's end, after the main loop: the sound output is closed.
void ShutDownAudio();
