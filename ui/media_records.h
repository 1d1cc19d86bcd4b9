#pragma once

#include <QImage>

#include "assets/embedded_records.h"
#include "media/container/bitmap_list.h"
#include "media/container/wave_list.h"

namespace travoli {

// Fills the image list (tile sheet, background sheet) and the sound list (the three
// sounds) from the item records built into the program. Throws when a record is broken.
void LoadMediaRecords(TBitmapList& bitmaps, TWaveList& waves);

// Image `index` of the list as a picture to draw from.
QImage SheetImage(const TBitmapList& bitmaps, std::size_t index);

}  // namespace travoli
