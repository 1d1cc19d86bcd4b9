#include "ui/speed_button.h"

#include <QPainter>
#include <QStyleOption>

namespace travoli {

TSpeedButton::TSpeedButton(QWidget* parent, QPixmap glyph, QPixmap disabledGlyph, GlyphPlace place)
    : QAbstractButton(parent),
      glyph_(std::move(glyph)),
      disabledGlyph_(std::move(disabledGlyph)),
      place_(place) {
    setFocusPolicy(Qt::NoFocus);  // the level selector is the window's only focus
    setAttribute(Qt::WA_Hover);
}

void TSpeedButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TSpeedButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TSpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect();
    const bool sunken = isDown() || isChecked();
    if (sunken || hovered_) {
        // Thin bevel: light top-left and dark bottom-right when raised, the other way when sunken.
        const QColor light = palette().color(QPalette::Light);
        const QColor dark = palette().color(QPalette::Dark);
        if (sunken) {
            painter.fillRect(frame.adjusted(1, 1, -1, -1), palette().color(QPalette::Midlight));
        }
        painter.setPen(sunken ? dark : light);
        painter.drawLine(frame.topLeft(), frame.topRight());
        painter.drawLine(frame.topLeft(), frame.bottomLeft());
        painter.setPen(sunken ? light : dark);
        painter.drawLine(frame.bottomLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomRight());
    }
    const QPixmap& picture = isEnabled() || disabledGlyph_.isNull() ? glyph_ : disabledGlyph_;
    const QSize logical = picture.deviceIndependentSize().toSize();
    int x = place_ == GlyphPlace::Left2 ? 2 : (width() - logical.width()) / 2;
    int y = (height() - logical.height()) / 2;
    if (sunken) {
        ++x;
        ++y;
    }
    painter.drawPixmap(x, y, picture);
}

}  // namespace travoli
