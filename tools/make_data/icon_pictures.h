// The program's icon for the desktop's menus, drawn from the island's own pictures.
#pragma once

#include "file_writers.h"

// size x size RGBA: the island seen from above on a tile with rounded corners, its
// ground texture lit by the slopes of the heightmap and the sea's texture where the
// ground lies under sea level.
Picture MakeIcon(const Picture& heightmap, const Picture& ground, const Picture& water, int size);
