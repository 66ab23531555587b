// BMP loader (filled in by the image work).
#include "image/bmp.h"

RgbImage* LoadBmp(const char*) { return nullptr; }
void FreeRgbImage(RgbImage* image) {
  if (!image) return;
  delete[] image->data;
  delete image;
}
