#include "ui/pictures.h"

#include "assets/pictures.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QString>

namespace travoli {

namespace {
// The pictures live in a static library's resources, which must be registered once.
void EnsurePictures() {
    static const bool registered = (InitPictures(), true);
    (void)registered;
}

QImage WithLowerLeftTransparent(QImage image) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    if (qAlpha(key) == 0) {
        return image;  // already drawn with transparency
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == key) {
                line[x] = 0;
            }
        }
    }
    return image;
}
}  // namespace

QPixmap Picture(const char* name) {
    EnsurePictures();
    const bool dense = qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1.0;
    QImage image;
    if (dense) {
        image.load(QStringLiteral(":/pictures/%1@2x.png").arg(QLatin1String(name)));
        image.setDevicePixelRatio(2.0);
    }
    if (image.isNull()) {
        image.load(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name)));
    }
    if (image.isNull()) {
        return {};
    }
    const qreal ratio = image.devicePixelRatio();
    image = WithLowerLeftTransparent(image);
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

QPixmap DenseSheet(const char* name) {
    EnsurePictures();
    QImage image(QStringLiteral(":/pictures/%1@2x.png").arg(QLatin1String(name)));
    image.setDevicePixelRatio(2.0);
    return QPixmap::fromImage(image);
}

}  // namespace travoli
