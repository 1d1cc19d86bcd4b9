#pragma once

#include <QPixmap>

namespace travoli {

// A picture of the game's own set, at the screen's resolution (the double-size drawing on
// high-density screens). The colour of the lower-left pixel is drawn transparent.
QPixmap Picture(const char* name);

// The double-resolution drawing of a sheet, as it is (no transparency); null when missing.
QPixmap DenseSheet(const char* name);

}  // namespace travoli
