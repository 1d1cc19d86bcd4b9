#pragma once

#include "game/board_geometry.h"
#include "tools/asset_builder/indexed_image.h"

namespace travoli::assets {

// Six seamless 128 x 128 textures side by side, 256 colours.
// `scale` 2 samples the same textures at double resolution for high-density screens.
IndexedImage DrawBackgroundSheet(int scale = 1);

}  // namespace travoli::assets
