// What the OpenAL output needs beyond OpenAL 1.1: each back-end gives it with the
// extensions its OpenAL has (OpenAL Soft's loopback and pause on Linux; none on the web).
#pragma once

#include <AL/alc.h>

// A loopback device rendering stereo 32-bit float at the given rate, with its context;
// null where the OpenAL has no loopback.
ALCdevice* OpenLoopbackDevice(int sampleRate, ALCcontext** context);
// Renders frames of interleaved left/right samples; false where it cannot.
bool RenderLoopbackDevice(ALCdevice* device, float* samples, int frames);
// Stops (true) or restarts (false) the device's mixing, where the OpenAL can.
void PauseDevice(ALCdevice* device, bool paused);
