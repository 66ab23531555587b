// TGA loader (filled in by the image work).
#include "image/tga.h"

bool LoadTga(TgaImage&, const char*) { return false; }
