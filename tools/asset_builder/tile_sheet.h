#pragma once

#include "game/board_geometry.h"
#include "tools/asset_builder/indexed_image.h"

namespace travoli::assets {

// 7 columns (one per piece kind) by 3 rows (red, white, blue field), 16 colours.
// `scale` 2 draws the same sheet at double resolution for high-density screens.
IndexedImage DrawTileSheet(int scale = 1);

}  // namespace travoli::assets
