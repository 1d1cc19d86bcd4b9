#include "tools/asset_builder/pictures.h"

#include <QPainter>
#include <QSvgRenderer>
#include <stdexcept>

namespace travoli::assets {

PictureSpec ParsePictureSpec(const QString& text) {
    const QStringList parts = text.split(':');
    const QStringList size = parts.value(1).split('x');
    PictureSpec picture;
    bool wOk = false, hOk = false;
    picture.name = parts.value(0);
    picture.width = size.value(0).toInt(&wOk);
    picture.height = size.value(1).toInt(&hOk);
    if (parts.size() != 2 || size.size() != 2 || !wOk || !hOk || picture.name.isEmpty() ||
        picture.width <= 0 || picture.height <= 0) {
        throw std::runtime_error("bad picture picture '" + text.toStdString() +
                                 "' (expected name:WxH)");
    }
    return picture;
}

QImage RenderSvg(const QString& path, int width, int height) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        throw std::runtime_error("cannot read SVG " + path.toStdString());
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace travoli::assets
