// Rain: 2000 falling, additively blended streaks.
#pragma once

void SetUpRain();
void DrawRain();
