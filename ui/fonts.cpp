#include "ui/fonts.h"

namespace travoli {

QFont ArialFont(int pixelHeight, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QFont SystemFont() {
    return ArialFont(13, true);
}

QFont DialogFont(bool bold) {
    return ArialFont(11, bold);
}

}  // namespace travoli
