// Mipmap levels by 2 x 2 box filtering (2 x 1 where one side is down to a pixel).
#include "platform/web/mipmaps.h"

#include <cstddef>

namespace {
int PowerOfTwoAtOrBelow(int size) {
  int power = 1;
  while (power * 2 <= size) power *= 2;
  return power;
}

// The picture at the given size, each pixel from the nearest one of the source.
MipmapLevel Resampled(const uint8_t* pixels, int width, int height, int components, int toWidth, int toHeight) {
  MipmapLevel level{toWidth, toHeight, std::vector<uint8_t>(static_cast<std::size_t>(toWidth) * toHeight * components)};
  for (int y = 0; y < toHeight; ++y) {
    int fromY = y * height / toHeight;
    for (int x = 0; x < toWidth; ++x) {
      int fromX = x * width / toWidth;
      for (int c = 0; c < components; ++c)
        level.pixels[(static_cast<std::size_t>(y) * toWidth + x) * components + c] =
            pixels[(static_cast<std::size_t>(fromY) * width + fromX) * components + c];
    }
  }
  return level;
}

// The next level: each pixel the rounded mean of the four (or two, along a side that is
// down to one pixel) that it covers.
MipmapLevel Halved(const MipmapLevel& from, int components) {
  int stepX = from.width > 1 ? 1 : 0;
  int stepY = from.height > 1 ? 1 : 0;
  int width = from.width > 1 ? from.width / 2 : 1;
  int height = from.height > 1 ? from.height / 2 : 1;
  MipmapLevel level{width, height, std::vector<uint8_t>(static_cast<std::size_t>(width) * height * components)};
  auto at = [&](int x, int y, int c) -> int {
    return from.pixels[(static_cast<std::size_t>(y) * from.width + x) * components + c];
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int x0 = x * (stepX + 1), y0 = y * (stepY + 1);
      for (int c = 0; c < components; ++c) {
        int value = stepX && stepY
                        ? (at(x0, y0, c) + at(x0 + 1, y0, c) + at(x0, y0 + 1, c) + at(x0 + 1, y0 + 1, c) + 2) / 4
                        : (at(x0, y0, c) + at(x0 + stepX, y0 + stepY, c) + 1) / 2;
        level.pixels[(static_cast<std::size_t>(y) * width + x) * components + c] = static_cast<uint8_t>(value);
      }
    }
  }
  return level;
}
}  // namespace

std::vector<MipmapLevel> BuildMipmapLevels(const uint8_t* pixels, int width, int height, int components) {
  std::vector<MipmapLevel> levels;
  if (!pixels || width < 1 || height < 1 || components < 1) return levels;
  levels.push_back(
      Resampled(pixels, width, height, components, PowerOfTwoAtOrBelow(width), PowerOfTwoAtOrBelow(height)));
  while (levels.back().width > 1 || levels.back().height > 1) levels.push_back(Halved(levels.back(), components));
  return levels;
}
