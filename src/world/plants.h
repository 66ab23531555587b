// Five crossed-quad plants cut out by the alpha test.
#pragma once

void SetUpPlants();
void DrawPlants();
