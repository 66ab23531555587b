// Sound levels for the tests, over interleaved stereo samples from -1 to 1.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

enum class Side { Left, Right, Both };

// Root mean square level of one side, or both, between two times in seconds (clipped to what exists).
inline double Rms(const std::vector<float>& stereo, int rate, Side side, double from = 0.0, double to = 1e9) {
  double sum = 0.0, count = 0.0;
  const size_t last = std::min(stereo.size(), 2 * static_cast<size_t>(std::max(0.0, to) * rate));
  for (size_t i = 2 * static_cast<size_t>(std::max(0.0, from) * rate); i < last; ++i) {
    if (side != Side::Both && (side == Side::Right) != (i % 2 == 1)) continue;
    sum += static_cast<double>(stereo[i]) * stereo[i], ++count;
  }
  return count ? std::sqrt(sum / count) : 0.0;
}

inline double Decibels(double level, double reference) { return 20.0 * std::log10(level / reference); }
