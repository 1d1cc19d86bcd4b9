#include "ui/media_records.h"

#include "assets/embedded_records.h"
#include "media/container/byte_stream.h"

namespace travoli {

void LoadMediaRecords(TBitmapList& bitmaps, TWaveList& waves) {
    bitmaps.Clear();
    waves.Clear();
    for (const EmbeddedRecordEntry& entry : EmbeddedRecords) {
        ByteReader in(EmbeddedRecordBytes(entry.id));
        if (entry.sound) {
            waves.Read(in);
        } else {
            bitmaps.Read(in);
        }
    }
}

QImage SheetImage(const TBitmapList& bitmaps, std::size_t index) {
    const auto bmp = bitmaps.Items(index).Bitmap();
    QImage image = QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
    if (image.isNull()) {
        throw EBrokenPicture(index);
    }
    return image;
}

}  // namespace travoli
