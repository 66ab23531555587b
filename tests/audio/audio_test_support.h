// Helpers for the sound tests: small wave files, loopback rendering and level measures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sound_engine.h"

constexpr int TestRate = 44100;  // samples per second, files and loopback alike

// A mono sine: `seconds` long, the tone filling the first `toneSeconds` (all when
// negative) at `amplitude` of full scale, silence after it.
std::vector<int16_t> Tone(float seconds, float amplitude, float frequency = 440.0f, float toneSeconds = -1.0f);
// Writes a 16-bit PCM wave file; stereo samples are interleaved.
void WriteWave(const std::string& path, const std::vector<int16_t>& samples, int channels = 1);
// Writes the five sound files of the program into dir: a steady tone each, unless given.
void WriteAllSounds(const std::string& dir);

// Renders seconds of loopback output (interleaved left, right).
std::vector<float> Render(SoundPerformance* performance, float seconds);

enum class Side { Left, Right, Both };
// Root mean square level of one side of rendered output, between two times in seconds.
double Rms(const std::vector<float>& stereo, Side side, float from = 0.0f, float to = 1e9f);
double Decibels(double level, double reference);
