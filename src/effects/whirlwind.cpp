// Whirlwind (filled in by the effects work).
#include "effects/whirlwind.h"

void SetUpWindEffect() {}
void DrawWindEffect() {}
