// Plants (filled in by the world work).
#include "world/plants.h"

void SetUpPlants() {}
void DrawPlants() {}
