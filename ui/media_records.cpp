#include "ui/media_records.h"

#include <stdexcept>

#include "assets/embedded_records.h"
#include "media/container/byte_stream.h"

namespace travoli {

void LoadMediaRecords(TBitmapList& bitmaps, TWaveList& waves) {
    bitmaps.Clear();
    waves.Clear();
    for (EmbeddedRecord id : {EmbeddedRecord::TileSheet, EmbeddedRecord::BackgroundSheet}) {
        ByteReader in(EmbeddedRecordBytes(id));
        bitmaps.Read(in);
    }
    for (EmbeddedRecord id :
         {EmbeddedRecord::SolvedSound, EmbeddedRecord::MoveSound, EmbeddedRecord::RefusedSound}) {
        ByteReader in(EmbeddedRecordBytes(id));
        waves.Read(in);
    }
}

QImage SheetImage(const TBitmapList& bitmaps, std::size_t index) {
    const auto bmp = bitmaps.Items(index).Bitmap();
    QImage image = QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
    if (image.isNull()) {
        throw std::runtime_error("The picture " + std::to_string(index) +
                                 " of the game could not be read.");
    }
    return image;
}

}  // namespace travoli
