#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace travoli::assets {

struct PictureSpec {
    QString name;
    int width = 0;
    int height = 0;
};

// "name:WxH", as the build passes it.
PictureSpec ParsePictureSpec(const QString& text);

// Renders an SVG to exactly width x height with alpha; throws std::runtime_error when the SVG
// cannot be read.
QImage RenderSvg(const QString& path, int width, int height);

}  // namespace travoli::assets
