// The sand background of the game's full-screen screens: sprites of the
// tile "sand_frame_back" at every x = 0, 44, ..., 792 and y = 0, 44, ...,
// 572 (19 columns by 14 rows, a grid that overruns the 800 x 600 screen),
// all in one layer. A page moved to a layer beneath the tiles is hidden.
//
// addScreenTiles steps by the tile's own size instead: columns from x = 0
// while x < the screen width, rows from y = 0 while y < the screen height
// (no tile for an empty picture).
#pragma once

#include "sprite/gamemode.h"

namespace sandtiles {

constexpr const char* kTileImage = "sand_frame_back";
constexpr int kStep = 44;
constexpr int kColumns = 19;
constexpr int kRows = 14;

void addTo(GameMode& mode, int nZOrder);
void addScreenTiles(GameMode& mode, int nZOrder);

}  // namespace sandtiles
