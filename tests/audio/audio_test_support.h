// Helpers for the sound tests: small wave files, loopback rendering and level measures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/sound_engine.h"

constexpr int TestRate = 44100;  // samples per second, files and loopback alike

// A mono sine at a quarter of full scale, `seconds` long, the tone filling the
// first `toneSeconds` (all when negative), silence after it.
std::vector<int16_t> Tone(float seconds, float toneSeconds = -1.0f, float amplitude = 0.25f);
// Writes a 16-bit PCM wave file; stereo samples are interleaved.
void WriteWave(const std::string& path, const std::vector<int16_t>& samples, int channels = 1);
// Writes the five sound files of the program into dir: a steady 0.5 s tone each.
void WriteAllSounds(const std::string& dir);

// Renders seconds of loopback output (interleaved left, right).
std::vector<float> Render(SoundPerformance* performance, float seconds);

enum class Side { Left, Right, Both };
// Root mean square level of one side of rendered output, between two times in seconds.
double Rms(const std::vector<float>& stereo, Side side, float from = 0.0f, float to = 1e9f);
double Decibels(double level, double reference);
// The 64-byte records of a 3D buffer and of the listener, as the engine holds them.
SoundBufferParams ParamsOf(Sound3DBuffer* buffer);
SoundListenerParams ParamsOf(SoundListener* listener);

// Sound set-up in a fresh current folder holding the five sound files, through a
// loopback device, with the message boxes recorded.
class AudioTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void Write(const char* name, const std::vector<int16_t>& samples, int channels = 1);
  // Runs 10 ms frames for the given time, the operations first in each; returns what was heard.
  std::vector<float> Frames(float seconds, const std::function<void()>& operations);
  std::string dir, previousDir;
};
