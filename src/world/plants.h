// Five crossed-quad plants cut out by the alpha test.
#pragma once

// Loads "plant4.tga" and switches on the alpha test (greater than 0.1: alpha
// bytes 26 and up pass) for the rest of the run.
void SetUpPlants();
// Draws the five plants; leaves the plant texture bound and the colour white.
void DrawPlants();
