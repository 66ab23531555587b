// Fireworks (filled in by the effects work).
#include "effects/fireworks.h"

void SetUpFireworks() {}
void DrawFireworks() {}
