// Cached sphere (filled in by the image work).
#include "image/sphere.h"

void SolidSphere(double) {}
