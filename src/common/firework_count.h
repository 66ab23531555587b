// The number of fireworks: the effects draw them and the audio gives each its sounds,
// both indexed by the firework's number.
#pragma once

constexpr int FireworkCount = 5;
