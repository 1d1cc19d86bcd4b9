#pragma once

// Where the board and its pictures stand, in logical pixels: the window paints and hit-tests
// with these, the asset builder draws the sheets to them, and the tests click by them.
namespace travoli {

// The board view is a square surface; the 3 x 3 cells start at its left top corner + 50.
inline constexpr int BoardSurface = 337;
inline constexpr int BoardLeft = 50;
inline constexpr int BoardTop = 50;

// One cell, and one tile of the tile sheet (a column per piece kind, a row per field row).
inline constexpr int CellWidth = 78;
inline constexpr int CellHeight = 79;
inline constexpr int TileColumns = 7;
inline constexpr int TileRows = 3;

inline constexpr int BoardRight = BoardLeft + 3 * CellWidth - 1;   // 283, the last pixel inside
inline constexpr int BoardBottom = BoardTop + 3 * CellHeight - 1;  // 286

// The background sheet: square textures side by side, tiled over the surface.
inline constexpr int TextureSize = 128;
inline constexpr int TextureCount = 6;

}  // namespace travoli
