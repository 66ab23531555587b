// The effects' own random generator: one fixed sequence shared by rain, fireworks
// and the whirlwind, so the order of their draws decides what each one gets.
#pragma once

// Advances the state (x = x * 214013 + 2531011, modulo 2^32) and returns
// (x >> 16) & 32767, a value from 0 to 32767. The state starts at 1.
int EffectsRand();

// Puts the state back to 1 (tests only: the program never restarts the sequence).
void ResetEffectsRand();
