// Rain (filled in by the effects work).
#include "effects/rain.h"

void SetUpRain() {}
void DrawRain() {}
