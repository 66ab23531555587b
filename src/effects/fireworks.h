// Five fireworks that rise, burst into 5000 particles each, and relaunch.
#pragma once

void SetUpFireworks();
void DrawFireworks();
